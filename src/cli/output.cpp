#include "cli/output.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace korvane {

namespace {

bool IsJsonNumber(const std::string& text) {
  if (text.empty() || text.front() == '+' || text.front() == '.' || text.back() == '.') {
    return false;
  }
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  const bool plain = text.find_first_of("xXnNiI") == std::string::npos;
  return end == text.c_str() + text.size() && std::isfinite(value) && plain;
}

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

}  // namespace

std::string FieldsText(const std::vector<FigureLine>& lines, bool json) {
  if (!json) {
    std::string text;
    for (const auto& [key, value] : lines) text += key + ": " + value + "\n";
    return text;
  }
  std::string object(1, '{');
  for (const auto& [key, value] : lines) {
    if (object.size() > 1) object += ", ";
    object += JsonString(key) + ": " + (IsJsonNumber(value) ? value : JsonString(value));
  }
  return object + "}\n";
}

bool WriteAll(std::FILE* file, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
}

bool CanWrite(const std::string& path) {
  if (path.empty()) return true;
  const std::string partial = path + ".partial";
  std::FILE* file = std::fopen(partial.c_str(), "wb");
  if (!file) {
    std::fprintf(stderr, "korvane-cli: cannot create %s: %s\n", partial.c_str(),
                 std::strerror(errno));
    return false;
  }
  std::fclose(file);
  std::remove(partial.c_str());
  return true;
}

}  // namespace korvane
