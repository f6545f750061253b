#include "text/text_signature.h"

#include <algorithm>
#include <cstring>

namespace quorva {

namespace {

constexpr std::size_t kPieceSize = 4096;

std::uint64_t LoadWord(const char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

std::uint64_t Mix(std::uint64_t value) {
  value ^= value >> 32;
  value *= 0xd6e8feb86659fd93ull;
  value ^= value >> 32;
  value *= 0xd6e8feb86659fd93ull;
  return value ^ (value >> 32);
}

// Four independent lanes of multiply and rotate, so that the digest keeps up with memory; the
// last bytes of a piece that fill no word go in one by one.
std::uint64_t DigestPiece(std::string_view piece) {
  constexpr std::uint64_t kPrime = 0x9e3779b97f4a7c15ull;
  std::uint64_t lanes[4] = {piece.size(), kPrime, ~kPrime, 0x243f6a8885a308d3ull};
  const char* at = piece.data();
  const char* const end = at + piece.size();
  for (; end - at >= 32; at += 32) {
    for (int lane = 0; lane < 4; ++lane) {
      const std::uint64_t mixed = (lanes[lane] ^ LoadWord(at + 8 * lane)) * kPrime;
      lanes[lane] = (mixed << 31) | (mixed >> 33);
    }
  }
  std::uint64_t digest = Mix(lanes[0]) ^ Mix(lanes[1] + 1) ^ Mix(lanes[2] + 2) ^ Mix(lanes[3] + 3);
  for (; at < end; ++at) {
    digest = Mix(digest ^ static_cast<unsigned char>(*at));
  }
  return digest;
}

std::uint64_t HeadOf(std::string_view text) {
  char head[8] = {};
  std::memcpy(head, text.data(), std::min(text.size(), sizeof head));
  return LoadWord(head);
}

}  // namespace

TextSignature::TextSignature(std::string_view text) : size_(text.size()), head_(HeadOf(text)) {
  pieces_.reserve((text.size() + kPieceSize - 1) / kPieceSize);
  for (std::size_t start = 0; start < text.size(); start += kPieceSize) {
    pieces_.push_back(DigestPiece(text.substr(start, kPieceSize)));
  }
}

bool TextSignature::StandsAt(std::string_view text, std::size_t at) const {
  if (at > text.size() || text.size() - at < size_ ||
      HeadOf(text.substr(at, std::min<std::size_t>(size_, 8))) != head_) {
    return false;
  }
  const std::string_view candidate = text.substr(at, size_);
  for (std::size_t piece = 0; piece < pieces_.size(); ++piece) {
    if (DigestPiece(candidate.substr(piece * kPieceSize, kPieceSize)) != pieces_[piece]) {
      return false;
    }
  }
  return true;
}

}  // namespace quorva
