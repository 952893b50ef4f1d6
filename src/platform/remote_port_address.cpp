#include "platform/remote_port_address.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace korvane {

namespace {
constexpr std::string_view kScheme = "rfc2217://";

bool IsHostCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
}
}  // namespace

bool IsRemotePortUrl(std::string_view device) {
  return device.size() >= kScheme.size() &&
         std::equal(kScheme.begin(), kScheme.end(), device.begin(), [](char a, char b) {
           return a == std::tolower(static_cast<unsigned char>(b));
         });
}

std::optional<RemotePortAddress> ParseRemotePortUrl(std::string_view url) {
  if (!IsRemotePortUrl(url)) return std::nullopt;
  std::string_view rest = url.substr(kScheme.size());
  if (rest.ends_with('/')) rest.remove_suffix(1);
  const std::size_t colon = rest.rfind(':');
  if (colon == std::string_view::npos) return std::nullopt;
  std::string_view host = rest.substr(0, colon);
  const std::string_view port_text = rest.substr(colon + 1);
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
    host = host.substr(1, host.size() - 2);
    const bool ipv6 = std::all_of(host.begin(), host.end(), [](char c) {
      return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.';
    });
    if (!ipv6) return std::nullopt;
  } else if (host.empty() || !std::all_of(host.begin(), host.end(), IsHostCharacter)) {
    return std::nullopt;
  }
  unsigned port = 0;
  const auto [end, error] =
      std::from_chars(port_text.data(), port_text.data() + port_text.size(), port);
  if (port_text.empty() || error != std::errc{} || end != port_text.data() + port_text.size() ||
      port == 0 || port > 65535) {
    return std::nullopt;
  }
  return RemotePortAddress{std::string(host), static_cast<std::uint16_t>(port)};
}

}  // namespace korvane
