#include <iconv.h>

#include <cerrno>

#include "platform/code_page.h"

namespace tallowick::platform {

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD
const auto kNoConversion = reinterpret_cast<iconv_t>(-1);

// iconv's name of each code page the program reads or writes.
struct CodePageName {
  int number;
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

const char* IconvName(int number) {
  for (const CodePageName& entry : kIconvNames) {
    if (entry.number == number) return entry.name;
  }
  return nullptr;
}

iconv_t AsIconv(void* handle) { return static_cast<iconv_t>(handle); }

}  // namespace

CodePage::CodePage(int number) : m_number(number) {
  const char* name = IconvName(number);
  if (name == nullptr) return;
  const iconv_t encoder = iconv_open(name, "UTF-8");
  const iconv_t decoder = iconv_open("UTF-8", name);
  if (encoder == kNoConversion || decoder == kNoConversion) {
    if (encoder != kNoConversion) iconv_close(encoder);
    if (decoder != kNoConversion) iconv_close(decoder);
    return;
  }
  m_encoder = encoder;
  m_decoder = decoder;
  m_known = true;
}

CodePage::~CodePage() {
  if (m_encoder != nullptr) iconv_close(AsIconv(m_encoder));
  if (m_decoder != nullptr) iconv_close(AsIconv(m_decoder));
}

bool CodePage::DoubleByte() const {
  return m_number == 932 || m_number == 936 || m_number == 949 || m_number == 950 ||
         m_number == 1361;
}

bool CodePage::Encode(std::string_view character, std::string& out) {
  if (!m_known || character.empty()) return false;
  const iconv_t handle = AsIconv(m_encoder);
  iconv(handle, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(character.data());
  std::size_t inLeft = character.size();
  char buffer[16];
  char* outPtr = buffer;
  std::size_t outLeft = sizeof buffer;
  const std::size_t result = iconv(handle, &in, &inLeft, &outPtr, &outLeft);
  // An approximate form (a count above zero) is not accepted either.
  if (result != 0 || inLeft != 0) {
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
    return false;
  }
  out.append(buffer, sizeof buffer - outLeft);
  return true;
}

void CodePage::Decode(std::string_view bytes, std::string& out) {
  if (!m_known) {
    for (std::size_t i = 0; i < bytes.size(); ++i) out += kReplacement;
    return;
  }
  const iconv_t handle = AsIconv(m_decoder);
  iconv(handle, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(handle, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, sizeof buffer - outLeft);
    if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // An undefined or cut-off sequence: mark it and go on after its first byte.
    out += kReplacement;
    ++in;
    --inLeft;
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
  }
}

}  // namespace tallowick::platform
