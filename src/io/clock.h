// The calendar clock, read in one place so that tests can set it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Seconds since 1970-01-01 UTC.
std::int64_t ClockNow();

// Makes ClockNow return the given time; nothing (std::nullopt) restores the
// real clock.
void SetClockForTesting(std::optional<std::int64_t> seconds);

// The local time as "Www Mmm DD hh:mm:ss YYYY\n": 25 characters, English
// abbreviations, the day with a leading zero.
std::string DateText(std::int64_t seconds);
