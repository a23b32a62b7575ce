#include "quicklogin/LuaLiteral.h"

namespace qvn {

namespace {
constexpr unsigned char FirstPrintable = 0x20;
constexpr unsigned char Delete = 0x7F;
}  // namespace

std::string LuaStringBody(std::string_view bytes) {
  std::string body;
  body.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      body += '\\';
      body += c;
    } else if (byte < FirstPrintable || byte == Delete) {
      body += '\\';
      body += static_cast<char>('0' + byte / 100);
      body += static_cast<char>('0' + byte / 10 % 10);
      body += static_cast<char>('0' + byte % 10);
    } else {
      body += c;
    }
  }
  return body;
}

}  // namespace qvn
