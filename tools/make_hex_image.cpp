// Writes an Intel HEX firmware image that the simulated board accepts and runs (a whole image:
// its last data record is the trailer the board checks at every start), so that the program's
// loader can be tried without hardware:
//   korvane-make-hex DIR/Korvane_ADC_Demo.Hex [bytes]
// then start the program in DIR with --simulate --blank-board.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "board/hex_image.h"
#include "board/image_trailer.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "Usage: korvane-make-hex OUTPUT.Hex [bytes, default 2048]\n";
    return 2;
  }
  const long size = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 2048;
  if (size < 1 || size > korvane::kImageTrailerAddress) {
    std::cerr << "bytes must be 1.." << korvane::kImageTrailerAddress
              << " (the board's flash below the image trailer)\n";
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary);
  out << korvane::HexImageText(0x0000, korvane::DemoProgramBytes(static_cast<std::size_t>(size)));
  if (!out.flush()) {
    std::cerr << "cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
