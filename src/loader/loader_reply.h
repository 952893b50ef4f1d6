#pragma once

#include <string_view>

namespace korvane {

/// What the boot firmware said about one HEX line.
enum class LoaderReply {
  kNone,           ///< none of the four reply letters yet
  kAccepted,       ///< "." the line was programmed
  kNotWritten,     ///< "X" a byte of the line could not be written
  kChecksumError,  ///< "E" the line was refused
  kFinished,       ///< "T" the end record: programming is over
};

/// The reply in one take of received text. Several letters in one take count by weight:
/// "T" over "E", "E" over "X", "X" over ".".
LoaderReply ReplyInTake(std::string_view take);

}  // namespace korvane
