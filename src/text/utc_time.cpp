#include "text/utc_time.h"

#include <array>
#include <cstdio>

namespace quorva {

namespace {

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto year_of_era = static_cast<unsigned>(year - era * 400);
  const unsigned day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + static_cast<std::int64_t>(day_of_era) - 719468;
}

unsigned DaysInMonth(std::int64_t year, unsigned month) {
  static constexpr std::array<unsigned, 12> kDays = {31, 28, 31, 30, 31, 30,
                                                     31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// The number of `width` digits at `text[at]`, or nothing.
std::optional<unsigned> ReadDigits(std::string_view text, std::size_t at, std::size_t width) {
  if (at + width > text.size()) {
    return std::nullopt;
  }
  unsigned value = 0;
  for (std::size_t i = at; i < at + width; ++i) {
    if (text[i] < '0' || text[i] > '9') {
      return std::nullopt;
    }
    value = value * 10 + static_cast<unsigned>(text[i] - '0');
  }
  return value;
}

std::optional<std::int64_t> MakeSeconds(unsigned year, unsigned month, unsigned day, unsigned hour,
                                        unsigned minute, unsigned second) {
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
      minute > 59 || second > 60) {
    return std::nullopt;
  }
  return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

}  // namespace

std::string FormatUtcStamp(std::int64_t seconds) {
  const std::int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
  const std::int64_t in_day = seconds - days * 86400;
  // Civil date from days since 1970-01-01.
  const std::int64_t shifted = days + 719468;
  const std::int64_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
  const auto day_of_era = static_cast<unsigned>(shifted - era * 146097);
  const unsigned year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const unsigned day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const unsigned month_index = (5 * day_of_year + 2) / 153;
  const unsigned day = day_of_year - (153 * month_index + 2) / 5 + 1;
  const unsigned month = month_index < 10 ? month_index + 3 : month_index - 9;
  const std::int64_t year = static_cast<std::int64_t>(year_of_era) + era * 400 + (month <= 2);
  char text[80];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02u:%02u:%02uZ", static_cast<long long>(year),
                month, day, static_cast<unsigned>(in_day / 3600),
                static_cast<unsigned>(in_day / 60 % 60), static_cast<unsigned>(in_day % 60));
  return text;
}

std::optional<std::int64_t> ParseUtcStamp(std::string_view stamp) {
  // 2026-12-09T06:30:00Z
  if (stamp.size() != 20 || stamp[4] != '-' || stamp[7] != '-' || stamp[10] != 'T' ||
      stamp[13] != ':' || stamp[16] != ':' || stamp[19] != 'Z') {
    return std::nullopt;
  }
  const auto year = ReadDigits(stamp, 0, 4), month = ReadDigits(stamp, 5, 2),
             day = ReadDigits(stamp, 8, 2), hour = ReadDigits(stamp, 11, 2),
             minute = ReadDigits(stamp, 14, 2), second = ReadDigits(stamp, 17, 2);
  if (!year || !month || !day || !hour || !minute || !second) {
    return std::nullopt;
  }
  return MakeSeconds(*year, *month, *day, *hour, *minute, *second);
}

std::optional<std::int64_t> ParseHttpDate(std::string_view date) {
  // Wed, 09 Dec 2026 06:30:00 GMT
  static constexpr std::array<std::string_view, 12> kMonths = {
      "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  if (date.size() != 29 || date.substr(3, 2) != ", " || date.substr(25) != " GMT" ||
      date[7] != ' ' || date[11] != ' ' || date[16] != ' ' || date[19] != ':' || date[22] != ':') {
    return std::nullopt;
  }
  unsigned month = 0;
  for (unsigned i = 0; i < kMonths.size(); ++i) {
    if (date.substr(8, 3) == kMonths[i]) {
      month = i + 1;
    }
  }
  const auto day = ReadDigits(date, 5, 2), year = ReadDigits(date, 12, 4),
             hour = ReadDigits(date, 17, 2), minute = ReadDigits(date, 20, 2),
             second = ReadDigits(date, 23, 2);
  if (month == 0 || !day || !year || !hour || !minute || !second) {
    return std::nullopt;
  }
  return MakeSeconds(*year, month, *day, *hour, *minute, *second);
}

}  // namespace quorva
