// skinpack: makes, inspects and queries skin packages.
//
//   skinpack pack [--format CODE] PACKAGE INPUT...
//   skinpack list PACKAGE
//   skinpack extract PACKAGE FOLDER [NAME...]
//   skinpack describe SOURCE
//   skinpack query SOURCE string|integer|colour SECTION KEY [DEFAULT]
//   skinpack query SOURCE splitcolour SECTION NAME
//
// SOURCE is a package or skin file, or a description file (".ini") on its
// own. The description commands print what the player reads: keys as they
// are looked up (lower case) and values as they are read.
#include "skin/AnsiText.h"
#include "skin/QuickIni.h"
#include "skin/SkinReader.h"
#include "skin/ValueParsers.h"
#include "tools/skinpack/Archive.h"
#ifdef PLAYER_SKINPACK_MODEL
#include "tools/skinpack/ModelDump.h"
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class TUsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

std::vector<uint8_t> ReadFile(const fs::path& path)
{
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw std::runtime_error("cannot open " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out)
    throw std::runtime_error("cannot write " + path.string());
}

skin::TSkinReader OpenPackage(const fs::path& path, std::vector<uint8_t>* packageBytes = nullptr)
{
  std::vector<uint8_t> bytes = ReadFile(path);
  skin::TSkinReader reader;
  if (!reader.Open(bytes))
    throw std::runtime_error(path.string() + ": unknown archive format");
  if (packageBytes)
    *packageBytes = std::move(bytes);
  return reader;
}

// The description of a package, or a description file as it stands.
skin::TQuickIni LoadDescription(const fs::path& path, std::string& origin)
{
  skin::TQuickIni ini;
  if (skin::AnsiLowerCase(path.extension().string()) == ".ini") {
    ini.Load(ReadFile(path));
    origin = path.filename().string();
    return ini;
  }
  const skin::TSkinReader reader = OpenPackage(path);
  std::vector<uint8_t> text;
  origin = reader.ExtractByPart(".ini", text);
  if (origin.empty())
    throw std::runtime_error(path.string() + ": the package has no description (.ini)");
  ini.Load(text);
  return ini;
}

int32_t Pack(std::vector<std::string> args)
{
  uint32_t format = 70000;
  if (args.size() >= 2 && args[0] == "--format") {
    format = uint32_t(std::stoul(args[1]));
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() < 2)
    throw TUsageError("pack needs a package and at least one input");
  std::vector<skinpack::TPackFile> files;
  const auto add = [&files](const fs::path& file) {
    files.push_back({file.filename().string(), ReadFile(file)});
  };
  for (size_t k = 1; k < args.size(); ++k) {
    const fs::path input(args[k]);
    if (fs::is_directory(input)) {
      // A folder's files go in name order, so that packing is repeatable.
      std::vector<fs::path> inside;
      for (const auto& entry : fs::directory_iterator(input))
        if (entry.is_regular_file())
          inside.push_back(entry.path());
      std::sort(inside.begin(), inside.end());
      for (const auto& file : inside)
        add(file);
    } else {
      add(input);
    }
  }
  const std::vector<uint8_t> archive = skinpack::BuildArchive(files, format);
  const std::vector<uint8_t> package = skinpack::PackArchive(archive);
  WriteFile(args[0], package);
  std::printf("%s: %zu files, %zu bytes unpacked, %zu bytes packed (%.1f%%)\n", args[0].c_str(), files.size(),
              archive.size(), package.size(), 100.0 * double(package.size()) / double(std::max<size_t>(1, archive.size())));
  return 0;
}

int32_t List(const std::vector<std::string>& args)
{
  if (args.size() != 1)
    throw TUsageError("list needs a package");
  std::vector<uint8_t> bytes;
  const skin::TSkinReader reader = OpenPackage(args[0], &bytes);
  std::printf("format %u, %zu files, %lld bytes unpacked, %zu bytes packed\n", reader.FormatCode(),
              reader.Names().size(), static_cast<long long>(reader.UnpackedSize()), bytes.size());
  for (size_t k = 0; k < reader.Names().size(); ++k)
    std::printf("%10d  %s\n", reader.Sizes()[k], reader.Names()[k].c_str());
  return 0;
}

int32_t Extract(const std::vector<std::string>& args)
{
  if (args.size() < 2)
    throw TUsageError("extract needs a package and a folder");
  const skin::TSkinReader reader = OpenPackage(args[0]);
  const fs::path folder(args[1]);
  fs::create_directories(folder);
  std::vector<std::string> wanted(args.begin() + 2, args.end());
  if (wanted.empty())
    wanted = reader.Names();
  int32_t missing = 0;
  std::set<std::string> done;
  for (const std::string& name : wanted) {
    // Names come from a file someone handed us: never let one leave the folder.
    const fs::path leaf = fs::path(name).filename();
    if (leaf.empty() || leaf == "." || leaf == ".." || leaf.string() != name) {
      std::fprintf(stderr, "skipped unsafe name \"%s\"\n", name.c_str());
      ++missing;
      continue;
    }
    if (!done.insert(skin::AnsiLowerCase(name)).second)
      continue; // a later namesake is never what the player reads
    std::vector<uint8_t> bytes;
    reader.ExtractByName(name, bytes);
    const bool listed = std::find(reader.Names().begin(), reader.Names().end(), skin::AnsiLowerCase(name)) !=
                        reader.Names().end();
    if (!listed) {
      std::fprintf(stderr, "%s: not in the package\n", name.c_str());
      ++missing;
      continue;
    }
    WriteFile(folder / leaf, bytes);
    std::printf("%s (%zu bytes)\n", (folder / leaf).string().c_str(), bytes.size());
  }
  return missing == 0 ? 0 : 1;
}

int32_t Describe(const std::vector<std::string>& args)
{
  if (args.size() != 1)
    throw TUsageError("describe needs a package or a description");
  std::string origin;
  const skin::TQuickIni ini = LoadDescription(args[0], origin);
  std::printf("; description \"%s\": %zu lines kept, %zu sections\n", origin.c_str(), ini.Lines().size(),
              ini.Sections().size());
  const auto& lines = ini.Lines();
  const auto& sections = ini.Sections();
  size_t firstSection = sections.empty() ? lines.size() : sections[0].Line;
  if (firstSection > 0)
    std::printf("; %zu lines before the first section are never read\n", firstSection);
  for (size_t s = 0; s < sections.size(); ++s) {
    const std::string name = ini.SectionNames()[s];
    const bool shadowed = ini.FindSection(name) != int32_t(s);
    std::printf("\n%s%s\n", sections[s].Header.c_str(),
                shadowed ? "    ; never read: an earlier section of this name wins" : "");
    const size_t end = s + 1 < sections.size() ? sections[s + 1].Line : lines.size();
    std::set<std::string> seen;
    for (size_t k = sections[s].Line + 1; k < end; ++k) {
      const skin::TQuickIni::TEntry entry = skin::TQuickIni::SplitEntry(lines[k]);
      const bool first = seen.insert(entry.Key).second;
      std::string note;
      if (!first)
        note = "    ; never read: the first entry of this key wins";
      else if (entry.Value.empty())
        note = "    ; empty: the default is used";
      std::printf("%s=%s%s\n", entry.Key.c_str(), entry.Value.c_str(), note.c_str());
    }
  }
  const std::vector<std::string> buttons = skin::CaptionButtonSections(ini);
  std::printf("\n; caption button sections:");
  for (const std::string& b : buttons)
    std::printf(" %s", b.c_str());
  std::printf("\n");
  return 0;
}

std::string ColorText(gfx::TColor c)
{
  char text[64];
  std::snprintf(text, sizeof text, "%d %d %d (0x%06X)", gfx::GetRValue(c), gfx::GetGValue(c), gfx::GetBValue(c),
                static_cast<unsigned>(c));
  return text;
}

int32_t Query(const std::vector<std::string>& args)
{
  if (args.size() < 4)
    throw TUsageError("query needs a source, a kind, a section and a key");
  std::string origin;
  const skin::TQuickIni ini = LoadDescription(args[0], origin);
  const std::string& kind = args[1];
  const std::string& section = args[2];
  const std::string& key = args[3];
  const std::string fallback = args.size() > 4 ? args[4] : "";
  if (kind == "string") {
    std::printf("%s\n", ini.ReadString(section, key, fallback).c_str());
  } else if (kind == "integer") {
    std::printf("%d\n", ini.ReadInteger(section, key, skin::StrToIntDef(fallback, 0)));
  } else if (kind == "colour" || kind == "color") {
    const gfx::TColor dflt = skin::ParseColorText(fallback, 0);
    std::printf("%s\n", ColorText(skin::ReadColor(ini, section, key, dflt)).c_str());
  } else if (kind == "splitcolour" || kind == "splitcolor") {
    gfx::TColor c = gfx::clNone;
    if (skin::ReadSplitColor(ini, section, key, c))
      std::printf("%s\n", ColorText(c).c_str());
    else
      std::printf("not set (%sR, %sG and %sB must all be 0 or more)\n", key.c_str(), key.c_str(), key.c_str());
  } else {
    throw TUsageError("unknown query kind \"" + kind + "\"");
  }
  return 0;
}

void Usage()
{
  std::fprintf(stderr,
               "usage:\n"
               "  skinpack pack [--format CODE] PACKAGE INPUT...   pack files (folders: all files, by name)\n"
               "  skinpack list PACKAGE                           list the files of a package\n"
               "  skinpack extract PACKAGE FOLDER [NAME...]       write files of a package to FOLDER\n"
               "  skinpack describe SOURCE                        print the description as it is read\n"
               "  skinpack query SOURCE KIND SECTION KEY [DEFAULT]\n"
               "      KIND: string, integer, colour, splitcolour (KEY is then the colour's name)\n"
               "  skinpack model PACKAGE          (the skin data model as text)\n"
               "  skinpack sheet PACKAGE OUT.png [FIRST COUNT]  (every element drawn at a few sizes)\n"
               "  skinpack stream PACKAGE OUT.bin  (the package as a SkinStream property value)\n"
               "SOURCE is a package or skin file, or a description (.ini) file.\n");
}

} // namespace

int main(int argc, char** argv)
{
  if (argc < 2) {
    Usage();
    return 2;
  }
  const std::string command = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  try {
    if (command == "pack")
      return Pack(args);
    if (command == "list")
      return List(args);
    if (command == "extract")
      return Extract(args);
    if (command == "describe")
      return Describe(args);
    if (command == "query")
      return Query(args);
#ifdef PLAYER_SKINPACK_MODEL
    if (command == "model")
      return skinpack::ModelCommand(args);
    if (command == "sheet")
      return skinpack::SheetCommand(args);
    if (command == "stream")
      return skinpack::StreamCommand(args);
#endif
    throw TUsageError("unknown command \"" + command + "\"");
  } catch (const TUsageError& e) {
    std::fprintf(stderr, "skinpack: %s\n", e.what());
    Usage();
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinpack: %s\n", e.what());
    return 1;
  }
}
