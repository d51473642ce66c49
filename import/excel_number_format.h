#pragma once
// Tells from an Excel number format whether a number shown with it is a
// date, a time of day, both, or a plain number.
#include <cstdint>
#include <string_view>

namespace tallowick {

enum class NumberFormatKind { Number, Date, Time, DateTime };

// Built-in formats (the ids below 164 that a workbook need not spell out).
NumberFormatKind KindOfBuiltInFormat(std::uint16_t formatId);

// A format code such as "yyyy-mm-dd", "h:mm AM/PM", "#,##0.00" or
// "[$-409]d-mmm-yy;@". Only the first section (before ';') counts; quoted
// text, escaped characters, fills, paddings and bracketed colours or locales
// are skipped; elapsed times ("[h]:mm") count as times.
NumberFormatKind KindOfFormatCode(std::string_view code);

}  // namespace tallowick
