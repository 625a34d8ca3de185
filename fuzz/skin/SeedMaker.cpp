// Writes seed inputs for the skin fuzzers: small packages in every archive
// format and a few descriptions, so fuzzing starts from valid structure, and
// for the whole-skin loader the same packages and the skin the player stores.
#include "tools/skinpack/Archive.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

void Write(const std::string& path, const std::vector<uint8_t>& bytes)
{
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> Bytes(const std::string& s)
{
  return {s.begin(), s.end()};
}

} // namespace

int main(int argc, char** argv)
{
  if (argc != 3 && argc != 5) {
    std::fprintf(stderr, "usage: skin_fuzz_seeds PACKAGE_CORPUS DESCRIPTION_CORPUS [LOAD_CORPUS STORED_SKIN]\n");
    return 2;
  }
  const std::string packages = argv[1];
  const std::string descriptions = argv[2];
  const std::vector<std::string> packageFolders =
    argc == 5 ? std::vector<std::string>{packages, argv[3]} : std::vector<std::string>{packages};
  const std::string ini =
    "[TitlebarSkin]\nSkinName=seed\n[Buttons]\nBitmap=Buttons.bmp\nTopHeight=5\nTrans=1\n"
    "[Button0]\nButtonImage=CloseButton.bmp\nAction=0\nVisibility=0\n[Button1]\nAction=-1\nVisibility=2\n"
    "[Personality]\nActiveTextR=1\nActiveTextG=2\nActiveTextB=0x3\n[Colours]\nButtonFace=191 210 234\n"
    "[Colour.Edit]\ncolor=1,2,3\n; comment\n[ Spaced ]\nkey=\nkey=$1F\n";
  Write(descriptions + "/seed.ini", Bytes(ini));
  Write(descriptions + "/crlf.ini", Bytes("[A]\r\nx = 1\r\n[a]\r\nx=2\r\n\r\n"));

  std::vector<skinpack::TPackFile> files{{"Buttons.bmp", Bytes("BM fake bitmap bytes, repeated repeated repeated")},
                                         {"seed-Seed.ini", Bytes(ini)},
                                         {"Tab.bmp", std::vector<uint8_t>(300, 0x7F)}};
  for (const std::string& folder : packageFolders) {
    for (uint32_t code : {20000u, 30000u, 40000u, 50000u, 60000u, 70000u})
      Write(folder + "/format" + std::to_string(code) + ".skn", skinpack::BuildPackage(files, code));
    Write(folder + "/empty.skn", skinpack::BuildPackage({}, 70000));
  }
  if (argc == 5) {
    // The native build draws the stored skin; without it the loader starts
    // from the small packages only.
    std::ifstream in(argv[4], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "skin_fuzz_seeds: no stored skin at %s; build the native skin_package first\n", argv[4]);
      return 0;
    }
    Write(std::string(argv[3]) + "/stored.skn",
          std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  }
  return 0;
}
