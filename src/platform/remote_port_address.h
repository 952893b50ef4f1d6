#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

/// Where a serial port on a device server is: "rfc2217://host:port", the host a name, an IPv4
/// address or an IPv6 address in brackets ("rfc2217://[::1]:4000"); a trailing "/" is allowed.
struct RemotePortAddress {
  std::string host;
  std::uint16_t port = 0;
};

/// Whether `device` names a remote port at all (the scheme, any case), well formed or not.
bool IsRemotePortUrl(std::string_view device);
/// The address, or nothing when the text after the scheme is not host:port.
std::optional<RemotePortAddress> ParseRemotePortUrl(std::string_view url);

}  // namespace korvane
