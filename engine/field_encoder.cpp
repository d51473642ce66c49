#include "engine/field_encoder.h"

#include <algorithm>
#include <cstring>

#include "engine/byte_order.h"
#include "engine/palm_date.h"
#include "engine/value_layout.h"

namespace tallowick {

namespace {

constexpr char kTabReplacement[] = "     ";  // a tab becomes five blanks
constexpr std::size_t kTabWidth = sizeof kTabReplacement - 1;

// Appends to a std::vector through the same Room/Commit calls as RecordArena.
class VectorSink {
 public:
  explicit VectorSink(std::vector<unsigned char>& bytes) : m_bytes(bytes) {}
  unsigned char* Room(std::size_t bytes) {
    m_used = m_bytes.size();
    m_bytes.resize(m_used + bytes);
    return m_bytes.data() + m_used;
  }
  void Commit(std::size_t bytes) { m_bytes.resize(m_used + bytes); }

 private:
  std::vector<unsigned char>& m_bytes;
  std::size_t m_used = 0;
};

// Text up to its NUL with every CR removed and every tab widened, then a NUL.
template <class Sink>
void EncodeText(const ColumnInfo& column, Sink& sink) {
  const auto* text = column.value.data();
  const std::size_t length =
      column.IsNull() ? 0 : strnlen(reinterpret_cast<const char*>(text), column.value.size());
  const unsigned char* end = text + length;
  const std::size_t tabs =
      std::memchr(text, '\t', length) == nullptr ? 0 : std::count(text, end, '\t');
  unsigned char* const start = sink.Room(length + tabs * (kTabWidth - 1) + 1);
  unsigned char* out = start;

  auto next = [end](const unsigned char* from, char ch) {
    const void* found = std::memchr(from, ch, static_cast<std::size_t>(end - from));
    return found == nullptr ? end : static_cast<const unsigned char*>(found);
  };
  const unsigned char* nextTab = tabs == 0 ? end : next(text, '\t');
  const unsigned char* nextCr = next(text, '\r');
  const unsigned char* from = text;
  while (from < end) {
    const unsigned char* special = std::min(nextTab, nextCr);
    std::memcpy(out, from, static_cast<std::size_t>(special - from));
    out += special - from;
    if (special == end) break;
    if (special == nextTab) {
      std::memcpy(out, kTabReplacement, kTabWidth);
      out += kTabWidth;
      nextTab = next(special + 1, '\t');
    } else {
      nextCr = next(special + 1, '\r');
    }
    from = special + 1;
  }
  *out++ = 0;
  sink.Commit(static_cast<std::size_t>(out - start));
}

// The fixed-size fields: `size` bytes, all 0 for a NULL value.
template <class Sink, class Fill>
void EncodeFixed(const ColumnInfo& column, std::size_t size, std::size_t valueSize, Sink& sink,
                 Fill fill) {
  unsigned char* out = sink.Room(size);
  if (column.IsNull() || column.value.size() < valueSize) {
    std::memset(out, 0, size);
  } else {
    fill(column.value.data(), out);
  }
  sink.Commit(size);
}

template <class T>
T ValueAs(const unsigned char* value) {
  T result;
  std::memcpy(&result, value, sizeof result);
  return result;
}

template <class Sink>
void Encode(const ColumnInfo& column, Sink& sink) {
  if (!column.kind) return;
  switch (column.bindType) {
    case bind::Char:
      EncodeText(column, sink);
      break;
    case bind::Long:
      EncodeFixed(column, 4, 4, sink,
                  [](const unsigned char* in, unsigned char* out) { CopyReversed(out, in, 4); });
      break;
    case bind::Short:
      EncodeFixed(column, 2, 2, sink,
                  [](const unsigned char* in, unsigned char* out) { CopyReversed(out, in, 2); });
      break;
    case bind::Double:
      EncodeFixed(column, 8, 8, sink,
                  [](const unsigned char* in, unsigned char* out) { CopyReversed(out, in, 8); });
      break;
    case bind::Float:
      EncodeFixed(column, 4, 4, sink,
                  [](const unsigned char* in, unsigned char* out) { CopyReversed(out, in, 4); });
      break;
    case bind::TinyInt:
    case bind::Bit:
      EncodeFixed(column, 2, 1, sink,
                  [](const unsigned char* in, unsigned char* out) { PutBigEndian16(out, in[0]); });
      break;
    case bind::Date:
      EncodeFixed(column, 2, sizeof(SqlDateValue), sink,
                  [](const unsigned char* in, unsigned char* out) {
                    const auto date = ValueAs<SqlDateValue>(in);
                    const auto bytes = EncodeDate(date.year, date.month, date.day);
                    std::memcpy(out, bytes.data(), bytes.size());
                  });
      break;
    case bind::Time:
      EncodeFixed(column, 2, sizeof(SqlTimeValue), sink,
                  [](const unsigned char* in, unsigned char* out) {
                    const auto time = ValueAs<SqlTimeValue>(in);
                    const auto bytes = EncodeTime(time.hour, time.minute, time.second);
                    std::memcpy(out, bytes.data(), bytes.size());
                  });
      break;
    case bind::Timestamp:
      EncodeFixed(column, 14, sizeof(SqlTimestampValue), sink,
                  [](const unsigned char* in, unsigned char* out) {
                    const auto stamp = ValueAs<SqlTimestampValue>(in);
                    const auto bytes =
                        EncodeDateTime(stamp.year, stamp.month, stamp.day, stamp.hour, stamp.minute,
                                       stamp.second, stamp.fraction);
                    std::memcpy(out, bytes.data(), bytes.size());
                  });
      break;
    default:
      break;
  }
}

}  // namespace

void EncodeField(const ColumnInfo& column, std::vector<unsigned char>& record) {
  VectorSink sink(record);
  Encode(column, sink);
}

void EncodeField(const ColumnInfo& column, RecordArena& records) { Encode(column, records); }

}  // namespace tallowick
