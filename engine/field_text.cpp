#include "engine/field_text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "engine/byte_order.h"
#include "engine/palm_date.h"
#include "engine/text_util.h"

namespace tallowick {

namespace {

constexpr double kFixedNotationLimit = 100000000.0;

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char* format, ...) {
  char small[64];
  std::va_list args;
  va_start(args, format);
  const int needed = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (needed < 0) return {};
  if (static_cast<std::size_t>(needed) < sizeof small) return std::string(small, needed);
  // "%f" of a large double runs to hundreds of digits.
  std::string text(static_cast<std::size_t>(needed) + 1, '\0');
  va_start(args, format);
  std::vsnprintf(text.data(), text.size(), format, args);
  va_end(args);
  text.resize(static_cast<std::size_t>(needed));
  return text;
}

double DoubleAt(const unsigned char* bytes) {
  unsigned char host[8];
  CopyReversed(host, bytes, sizeof host);
  double value;
  std::memcpy(&value, host, sizeof value);
  return value;
}

float FloatAt(const unsigned char* bytes) {
  unsigned char host[4];
  CopyReversed(host, bytes, sizeof host);
  float value;
  std::memcpy(&value, host, sizeof value);
  return value;
}

}  // namespace

std::string FormatViewerDouble(double value) {
  // Negative values of any size stay in fixed notation, as does nothing else
  // from 1e8 upwards; NaN compares false and takes "%e".
  return Format(value < kFixedNotationLimit ? "%f" : "%e", value);
}

std::string FormatViewerDateTime(const unsigned char* bytes) {
  const DecodedDateTime stamp = DecodeDateTime(bytes);
  // Twelve-hour clock: 0 shows as 12 AM, 1..12 unchanged with AM (noon too),
  // 13 and later less 12 with PM.
  int hour = stamp.hour;
  const char* half = "AM";
  if (hour == 0) {
    hour = 12;
  } else if (hour > 12) {
    hour -= 12;
    half = "PM";
  }
  return Format("%d/%d/%d %d:%d:%d::%d %s", stamp.year, stamp.month, stamp.day, hour, stamp.minute,
                stamp.second, stamp.fraction, half);
}

std::optional<DecodedField> DecodeField(std::uint8_t kind, const unsigned char* data,
                                        std::size_t available) {
  if (kind < 1 || kind > 8) return DecodedField{};
  const auto fieldKind = static_cast<FieldKind>(kind);
  if (fieldKind == FieldKind::String) {
    if (available == 0) return std::nullopt;
    const void* nul = std::memchr(data, 0, available);
    if (nul == nullptr) return std::nullopt;
    const auto length = static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - data);
    DecodedField field{std::string(reinterpret_cast<const char*>(data), length), length + 1};
    RemoveChar(field.text, '\r');
    return field;
  }
  const std::size_t size = FixedFieldSize(fieldKind);
  if (available < size) return std::nullopt;
  DecodedField field{{}, size};
  switch (fieldKind) {
    case FieldKind::Double:
      field.text = FormatViewerDouble(DoubleAt(data));
      break;
    case FieldKind::Float:
      field.text = Format("%f", static_cast<double>(FloatAt(data)));
      break;
    case FieldKind::Long:
      field.text =
          Format("%ld", static_cast<long>(static_cast<std::int32_t>(GetBigEndian32(data))));
      break;
    case FieldKind::Short:
      field.text = Format("%u", static_cast<unsigned>(GetBigEndian16(data)));
      break;
    case FieldKind::DateTime:
      field.text = FormatViewerDateTime(data);
      break;
    case FieldKind::Time:
      field.text = Format("%d:%d", data[0], data[1]);
      break;
    case FieldKind::Date: {
      const DecodedDate date = DecodeDate(data);
      field.text = Format("%d/%d/%d", date.year, date.month, date.day);
      break;
    }
    case FieldKind::String:
      break;
  }
  return field;
}

std::vector<std::string> DecodeRecordFields(const unsigned char* data, std::size_t length,
                                            const std::vector<std::uint8_t>& kinds) {
  std::vector<std::string> texts(kinds.size());
  std::size_t at = 0;
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    const auto field = DecodeField(kinds[i], data + at, length - at);
    if (!field) break;  // the record ends inside this field
    texts[i] = std::move(field->text);
    at += field->size;
  }
  return texts;
}

}  // namespace tallowick
