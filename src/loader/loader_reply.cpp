#include "loader/loader_reply.h"

namespace korvane {

LoaderReply ReplyInTake(std::string_view take) {
  const auto holds = [take](char letter) { return take.find(letter) != std::string_view::npos; };
  if (holds('T')) return LoaderReply::kFinished;
  if (holds('E')) return LoaderReply::kChecksumError;
  if (holds('X')) return LoaderReply::kNotWritten;
  if (holds('.')) return LoaderReply::kAccepted;
  return LoaderReply::kNone;
}

}  // namespace korvane
