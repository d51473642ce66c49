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

// The iconv name of each code page a dBase table or a workbook may name.
struct CodePageName {
  int codePage;
  const char* name;
};
constexpr CodePageName kIconvNames[] = {
    {437, "CP437"},          {737, "CP737"},
    {775, "CP775"},          {850, "CP850"},
    {852, "CP852"},          {855, "CP855"},
    {857, "CP857"},          {858, "CP858"},
    {860, "CP860"},          {861, "CP861"},
    {862, "CP862"},          {863, "CP863"},
    {864, "CP864"},          {865, "CP865"},
    {866, "CP866"},          {869, "CP869"},
    {874, "CP874"},          {932, "CP932"},
    {936, "CP936"},          {949, "CP949"},
    {950, "CP950"},          {1250, "CP1250"},
    {1251, "CP1251"},        {1252, "CP1252"},
    {1253, "CP1253"},        {1254, "CP1254"},
    {1255, "CP1255"},        {1256, "CP1256"},
    {1257, "CP1257"},        {1258, "CP1258"},
    {1361, "CP1361"},        {10000, "MACINTOSH"},
    {10007, "MAC-CYRILLIC"}, {10029, "MAC-CENTRALEUROPE"},
    {20127, "ASCII"},
};

// The code page of each dBase language driver byte.
struct LanguageDriverPage {
  std::uint8_t languageDriver;
  int codePage;
};
constexpr LanguageDriverPage kLanguageDriverPages[] = {
    {0x01, 437},  {0x09, 437},   {0x0B, 437},   {0x0D, 437},  {0x0F, 437},  {0x11, 437},
    {0x15, 437},  {0x18, 437},   {0x19, 437},   {0x1B, 437},  {0x02, 850},  {0x0A, 850},
    {0x0E, 850},  {0x10, 850},   {0x12, 850},   {0x14, 850},  {0x16, 850},  {0x1A, 850},
    {0x1D, 850},  {0x25, 850},   {0x37, 850},   {0x03, 1252}, {0x57, 1252}, {0x58, 1252},
    {0x59, 1252}, {0x04, 10000}, {0x08, 865},   {0x17, 865},  {0x66, 865},  {0x13, 932},
    {0x7B, 932},  {0x1C, 863},   {0x1F, 852},   {0x22, 852},  {0x23, 852},  {0x40, 852},
    {0x64, 852},  {0x87, 852},   {0x24, 860},   {0x26, 866},  {0x65, 866},  {0x4D, 936},
    {0x7A, 936},  {0x4E, 949},   {0x79, 949},   {0x4F, 950},  {0x78, 950},  {0x50, 874},
    {0x7C, 874},  {0x67, 861},   {0x6A, 737},   {0x6B, 857},  {0x88, 857},  {0x7D, 1255},
    {0x7E, 1256}, {0x96, 10007}, {0x97, 10029}, {0xC8, 1250}, {0xC9, 1251}, {0xCA, 1254},
    {0xCB, 1253}, {0xCC, 1257},  {0xF0, 65001},  // marked UTF-8 by some newer writers
};

}  // namespace

const char* IconvNameOfCodePage(int codePage) {
  for (const CodePageName& entry : kIconvNames) {
    if (entry.codePage == codePage) return entry.name;
  }
  return nullptr;
}

int CodePageOfLanguageDriver(std::uint8_t languageDriver) {
  for (const LanguageDriverPage& entry : kLanguageDriverPages) {
    if (entry.languageDriver == languageDriver) return entry.codePage;
  }
  return CodePageDecoder::kUnknownCodePage;
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
