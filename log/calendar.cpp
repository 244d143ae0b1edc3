#include "log/calendar.h"

namespace {

constexpr int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int kFebruary = 2;
constexpr int kDecember = 12;

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  if (month == kFebruary && IsLeapYear(year)) return 29;
  return kDaysInMonth[month - 1];
}

CalendarDate PreviousDay(const CalendarDate& date) {
  if (date.day > 1) return {date.year, date.month, date.day - 1};
  if (date.month > 1) return {date.year, date.month - 1, DaysInMonth(date.year, date.month - 1)};
  return {date.year - 1, kDecember, DaysInMonth(date.year - 1, kDecember)};
}
