// Build tool: writes a C++ table of {"PNG", id, bytes} from skin files named <id>-<name>.png. The table
// registers itself with the toolkit when the library loads.
// Usage: vr58_embed_resources <output.cpp> <png>...
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s output.cpp [png...]\n", argv[0]);
        return 2;
    }
    std::string body, entries;
    int count = 0;
    for (int i = 2; i < argc; ++i) {
        const std::string path = argv[i];
        const std::string name = path.substr(path.find_last_of('/') + 1);
        char* end = nullptr;
        const long id = std::strtol(name.c_str(), &end, 10);
        if (end == name.c_str() || *end != '-') continue;
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 1;
        }
        const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                               std::istreambuf_iterator<char>());
        const std::string symbol = "png" + std::to_string(id);
        body += "const uint8_t " + symbol + "[] = {";
        for (size_t b = 0; b < bytes.size(); ++b) {
            if (b % 24 == 0) body += "\n";
            body += std::to_string(bytes[b]) + ",";
        }
        body += "0};\n";
        entries += "    {\"PNG\", " + std::to_string(id) + ", " + symbol + ", " +
                   std::to_string(bytes.size()) + "},\n";
        ++count;
    }
    // An empty table still registers, so the editor links the same way before any skin exists.
    if (count == 0) entries = "    {\"PNG\", 0, nullptr, 0},\n";

    std::string text = "// Generated from resources/skin/*.png; do not edit.\n"
                       "#include \"vstgui/platform/resources.h\"\n\nnamespace {\n" +
                       body + "const VSTGUI::platform::ResourceEntry entries[] = {\n" + entries +
                       "};\nVSTGUI::platform::ResourceTable table{entries, " + std::to_string(count) +
                       ", nullptr};\n[[maybe_unused]] const bool registered = "
                       "VSTGUI::platform::registerResourceTable(&table);\n} // namespace\n";
    std::ofstream out(argv[1], std::ios::binary);
    out << text;
    return out ? 0 : 1;
}
