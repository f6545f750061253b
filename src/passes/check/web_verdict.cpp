#include "passes/check/web_verdict.h"

#include <utility>

namespace quorva {

namespace {

const char* ReasonPhrase(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 203:
      return "Non-Authoritative Information";
    case 204:
      return "No Content";
    case 300:
      return "Multiple Choices";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 303:
      return "See Other";
    case 304:
      return "Not Modified";
    case 307:
      return "Temporary Redirect";
    case 308:
      return "Permanent Redirect";
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 402:
      return "Payment Required";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 406:
      return "Not Acceptable";
    case 407:
      return "Proxy Authentication Required";
    case 408:
      return "Request Timeout";
    case 409:
      return "Conflict";
    case 410:
      return "Gone";
    case 411:
      return "Length Required";
    case 412:
      return "Precondition Failed";
    case 413:
      return "Content Too Large";
    case 414:
      return "URI Too Long";
    case 415:
      return "Unsupported Media Type";
    case 416:
      return "Range Not Satisfiable";
    case 417:
      return "Expectation Failed";
    case 421:
      return "Misdirected Request";
    case 422:
      return "Unprocessable Content";
    case 423:
      return "Locked";
    case 425:
      return "Too Early";
    case 426:
      return "Upgrade Required";
    case 428:
      return "Precondition Required";
    case 429:
      return "Too Many Requests";
    case 431:
      return "Request Header Fields Too Large";
    case 451:
      return "Unavailable For Legal Reasons";
    case 500:
      return "Internal Server Error";
    case 501:
      return "Not Implemented";
    case 502:
      return "Bad Gateway";
    case 503:
      return "Service Unavailable";
    case 504:
      return "Gateway Timeout";
    case 505:
      return "HTTP Version Not Supported";
    case 508:
      return "Loop Detected";
    case 511:
      return "Network Authentication Required";
    default:
      return nullptr;
  }
}

WebVerdict Verdict(WebOutcome outcome, std::string detail, int status) {
  WebVerdict verdict;
  verdict.outcome = outcome;
  verdict.status = status;
  verdict.detail = std::move(detail);
  return verdict;
}

WebVerdict JudgeFailure(const WebAnswer& answer, int timeout_seconds) {
  switch (answer.failure) {
    case WebFailure::kUnknownHost:
      return BrokenAddress("the host name is unknown");
    case WebFailure::kRefused:
      return BrokenAddress("the connection was refused");
    case WebFailure::kCertificate:
      return BrokenAddress("the certificate is not trusted" +
                           (answer.detail.empty() ? "" : ": " + answer.detail));
    case WebFailure::kTimeout:
      return UnverifiedAddress("no answer within " + std::to_string(timeout_seconds) + " s");
    case WebFailure::kReset:
      return UnverifiedAddress("the connection was reset");
    case WebFailure::kClosed:
      return UnverifiedAddress("the server closed the connection without answering");
    case WebFailure::kOther:
    case WebFailure::kNone:
      break;
  }
  return UnverifiedAddress(answer.detail.empty() ? "no answer" : answer.detail);
}

}  // namespace

std::string DescribeStatus(int status) {
  const char* phrase = ReasonPhrase(status);
  return std::to_string(status) + (phrase == nullptr ? "" : std::string(" ") + phrase);
}

WebVerdict BrokenAddress(std::string detail, int status) {
  return Verdict(WebOutcome::kBroken, std::move(detail), status);
}

WebVerdict UnverifiedAddress(std::string detail, int status) {
  return Verdict(WebOutcome::kUnverified, std::move(detail), status);
}

WebVerdict JudgeAnswer(const WebAnswer& answer, const std::string& url, bool moved_for_good,
                       int timeout_seconds) {
  if (answer.failure != WebFailure::kNone) {
    return JudgeFailure(answer, timeout_seconds);
  }
  const int status = answer.status;
  if (status >= 200 && status < 400) {
    if (!moved_for_good) {
      return Verdict(WebOutcome::kFine, "", status);
    }
    WebVerdict moved = Verdict(WebOutcome::kMoved, "moved for good to " + url, status);
    moved.moved_to = url;
    return moved;
  }
  switch (status) {
    case 401:
      return UnverifiedAddress(DescribeStatus(status) + ": the site asks for a login", status);
    case 403:
    case 999:
      return UnverifiedAddress(DescribeStatus(status) + ": the site may refuse robots", status);
    case 429:
      return UnverifiedAddress(DescribeStatus(status), status);
    default:
      break;
  }
  if (status >= 400 && status < 500) {
    return BrokenAddress(DescribeStatus(status), status);
  }
  return UnverifiedAddress(DescribeStatus(status), status);
}

}  // namespace quorva
