// Dates of the Gregorian calendar, for naming the daily log files.
#pragma once

struct CalendarDate {
  int year;
  int month;  // 1..12
  int day;    // 1..31
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// The calendar day before `date`: the last day of the previous month on the
// first of a month, the 31st of December of the previous year on the first
// of January.
CalendarDate PreviousDay(const CalendarDate& date);
