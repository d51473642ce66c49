#include "import/code_page_decoder.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "engine/utf8.h"

namespace tallowick {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

iconv_t AsIconv(void* handle) { return static_cast<iconv_t>(handle); }

bool IsDoubleByte(int codePage) {
  return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
         codePage == 1361;
}

}  // namespace

const char* IconvNameOfCodePage(int codePage) {
  switch (codePage) {
    case 437:
      return "CP437";
    case 737:
      return "CP737";
    case 775:
      return "CP775";
    case 850:
      return "CP850";
    case 852:
      return "CP852";
    case 855:
      return "CP855";
    case 857:
      return "CP857";
    case 858:
      return "CP858";
    case 860:
      return "CP860";
    case 861:
      return "CP861";
    case 862:
      return "CP862";
    case 863:
      return "CP863";
    case 864:
      return "CP864";
    case 865:
      return "CP865";
    case 866:
      return "CP866";
    case 869:
      return "CP869";
    case 874:
      return "CP874";
    case 932:
      return "CP932";
    case 936:
      return "CP936";
    case 949:
      return "CP949";
    case 950:
      return "CP950";
    case 1250:
      return "CP1250";
    case 1251:
      return "CP1251";
    case 1252:
      return "CP1252";
    case 1253:
      return "CP1253";
    case 1254:
      return "CP1254";
    case 1255:
      return "CP1255";
    case 1256:
      return "CP1256";
    case 1257:
      return "CP1257";
    case 1258:
      return "CP1258";
    case 1361:
      return "CP1361";
    case 10000:
      return "MACINTOSH";
    case 10007:
      return "MAC-CYRILLIC";
    case 10029:
      return "MAC-CENTRALEUROPE";
    case 20127:
      return "ASCII";
    default:
      return nullptr;
  }
}

int CodePageOfLanguageDriver(std::uint8_t languageDriver) {
  switch (languageDriver) {
    case 0x01:
    case 0x09:
    case 0x0B:
    case 0x0D:
    case 0x0F:
    case 0x11:
    case 0x15:
    case 0x18:
    case 0x19:
    case 0x1B:
      return 437;
    case 0x02:
    case 0x0A:
    case 0x0E:
    case 0x10:
    case 0x12:
    case 0x14:
    case 0x16:
    case 0x1A:
    case 0x1D:
    case 0x25:
    case 0x37:
      return 850;
    case 0x03:
    case 0x57:
    case 0x58:
    case 0x59:
      return 1252;
    case 0x04:
      return 10000;
    case 0x08:
    case 0x17:
    case 0x66:
      return 865;
    case 0x13:
    case 0x7B:
      return 932;
    case 0x1C:
      return 863;
    case 0x1F:
    case 0x22:
    case 0x23:
    case 0x40:
    case 0x64:
    case 0x87:
      return 852;
    case 0x24:
      return 860;
    case 0x26:
    case 0x65:
      return 866;
    case 0x4D:
    case 0x7A:
      return 936;
    case 0x4E:
    case 0x79:
      return 949;
    case 0x4F:
    case 0x78:
      return 950;
    case 0x50:
    case 0x7C:
      return 874;
    case 0x67:
      return 861;
    case 0x6A:
      return 737;
    case 0x6B:
    case 0x88:
      return 857;
    case 0x7D:
      return 1255;
    case 0x7E:
      return 1256;
    case 0x96:
      return 10007;
    case 0x97:
      return 10029;
    case 0xC8:
      return 1250;
    case 0xC9:
      return 1251;
    case 0xCA:
      return 1254;
    case 0xCB:
      return 1253;
    case 0xCC:
      return 1257;
    case 0xF0:
      return 65001;  // marked UTF-8 by some newer writers
    default:
      return CodePageDecoder::kUnknownCodePage;
  }
}

CodePageDecoder::CodePageDecoder(int codePage) : m_codePage(codePage) {
  if (codePage == 65001) {
    m_mode = Mode::Utf8;
    m_supported = true;
    return;
  }
  const char* name = IconvNameOfCodePage(codePage);
  if (name != nullptr) {
    iconv_t handle = iconv_open("UTF-8", name);
    if (handle != reinterpret_cast<iconv_t>(-1)) {
      m_iconv = handle;
      m_supported = true;
      if (IsDoubleByte(codePage)) {
        m_mode = Mode::Iconv;
        return;
      }
      if (BuildTable(name)) {
        m_mode = Mode::Table;
        return;
      }
      m_mode = Mode::Iconv;
      return;
    }
  }
  m_mode = Mode::Fallback;
  BuildTable("CP1252");
}

CodePageDecoder::~CodePageDecoder() {
  if (m_iconv != nullptr) iconv_close(AsIconv(m_iconv));
}

bool CodePageDecoder::BuildTable(const char* iconvName) {
  iconv_t handle = iconv_open("UTF-8", iconvName);
  if (handle == reinterpret_cast<iconv_t>(-1)) return false;
  for (int byte = 0; byte < 256; ++byte) {
    char input = static_cast<char>(byte);
    char output[8];
    char* in = &input;
    std::size_t inLeft = 1;
    char* out = output;
    std::size_t outLeft = sizeof output;
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
    std::size_t result = iconv(handle, &in, &inLeft, &out, &outLeft);
    std::size_t length = sizeof output - outLeft;
    auto& entry = m_table[static_cast<std::size_t>(byte)];
    if (result == static_cast<std::size_t>(-1) || inLeft != 0 || length == 0 || length > 3) {
      entry = {3, kReplacement[0], kReplacement[1], kReplacement[2]};
    } else {
      entry[0] = static_cast<char>(length);
      for (std::size_t i = 0; i < length; ++i) entry[i + 1] = output[i];
    }
  }
  iconv_close(handle);
  return true;
}

void CodePageDecoder::DecodeWithTable(std::string_view bytes, std::string& out) const {
  out.clear();
  out.reserve(bytes.size() + bytes.size() / 2);
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t run = pos;
    while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) < 0x80) ++run;
    if (run > pos) {
      out.append(bytes.data() + pos, run - pos);
      pos = run;
      continue;
    }
    const auto& entry = m_table[static_cast<unsigned char>(bytes[pos])];
    out.append(entry.data() + 1, static_cast<std::size_t>(entry[0]));
    ++pos;
  }
}

void CodePageDecoder::DecodeWithIconv(std::string_view bytes, std::string& out) {
  out.clear();
  iconv_t handle = AsIconv(m_iconv);
  iconv(handle, nullptr, nullptr, nullptr, nullptr);
  std::vector<char> buffer(bytes.size() * 4 + 16);
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* outStart = buffer.data();
    char* outPtr = outStart;
    std::size_t outLeft = buffer.size();
    std::size_t result = iconv(handle, &in, &inLeft, &outPtr, &outLeft);
    out.append(outStart, static_cast<std::size_t>(outPtr - outStart));
    if (result != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // An undefined or cut-off sequence: mark it and go on after its first byte.
    out += kReplacement;
    ++in;
    --inLeft;
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
  }
}

void CodePageDecoder::Decode(std::string_view bytes, std::string& out) {
  switch (m_mode) {
    case Mode::Table:
      DecodeWithTable(bytes, out);
      return;
    case Mode::Iconv:
      DecodeWithIconv(bytes, out);
      return;
    case Mode::Utf8:
      out = WithReplacementCharacters(bytes);
      return;
    case Mode::Fallback:
      if (IsValidUtf8(bytes)) {
        out.assign(bytes.data(), bytes.size());
      } else {
        DecodeWithTable(bytes, out);
      }
      return;
  }
}

}  // namespace tallowick
