// Build tool: compiles the application's window source into the stored
// window block, written either as raw bytes or as a C++ source that carries
// them in an array.
//
//   window_source_compiler --handlers LIST --source FILE [--files DIR ...]
//                          (--binary OUT | --cpp OUT --symbol [ns::]name)
//
// Files the source names are looked for beside it, then in each --files DIR.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "runtime/window_description_writer.h"
#include "tools/window_source.h"
#include "tools/window_source_compiler.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string CppSource(const std::vector<uint8_t>& bytes, const std::string& symbol,
                      const std::string& source) {
    std::string ns;
    std::string name = symbol;
    if (size_t cut = symbol.rfind("::"); cut != std::string::npos) {
        ns = symbol.substr(0, cut);
        name = symbol.substr(cut + 2);
    }
    std::string out = "// Generated from " + source + " by window_source_compiler.\n";
    out += "#include <cstddef>\n#include <cstdint>\n\n";
    if (!ns.empty()) out += "namespace " + ns + " {\n\n";
    out += "extern const uint8_t " + name + "[];\nextern const size_t " + name + "Size;\n";
    out += "const uint8_t " + name + "[] = {";
    for (size_t i = 0; i < bytes.size(); ++i) {
        out += (i % 16 == 0) ? "\n    " : " ";
        out += std::to_string(bytes[i]) + ",";
    }
    if (bytes.empty()) out += "0";  // an array cannot be empty; the size says 0
    out += "\n};\nconst size_t " + name + "Size = " + std::to_string(bytes.size()) + ";\n";
    if (!ns.empty()) out += "\n}  // namespace " + ns + "\n";
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    std::string handlersPath, sourcePath, binaryPath, cppPath, symbol;
    velmora::tools::FileDirectories fileDirectories;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string option = argv[i];
        std::string value = argv[i + 1];
        if (option == "--handlers")
            handlersPath = value;
        else if (option == "--source")
            sourcePath = value;
        else if (option == "--binary")
            binaryPath = value;
        else if (option == "--cpp")
            cppPath = value;
        else if (option == "--symbol")
            symbol = value;
        else if (option == "--files")
            fileDirectories.push_back(value);
        else {
            std::cerr << "window_source_compiler: unknown option " << option << "\n";
            return 2;
        }
    }
    if (argc % 2 == 0 || handlersPath.empty() || sourcePath.empty() ||
        (binaryPath.empty() == cppPath.empty()) || (!cppPath.empty() && symbol.empty())) {
        std::cerr << "usage: window_source_compiler --handlers LIST --source FILE"
                     " [--files DIR ...] (--binary OUT | --cpp OUT --symbol [ns::]name)\n";
        return 2;
    }
    try {
        std::vector<std::string> handlers;
        try {
            handlers = velmora::tools::ParseHandlerList(ReadFile(handlersPath));
        } catch (const velmora::tools::SourceError& e) {
            std::cerr << handlersPath << ":" << e.what() << "\n";
            return 1;
        }
        auto source = velmora::tools::ParseWindowSource(ReadFile(sourcePath));
        fileDirectories.insert(fileDirectories.begin(),
                               std::filesystem::path(sourcePath).parent_path());
        auto windows = velmora::tools::CompileWindowSource(source, handlers, fileDirectories);
        auto block = velmora::WriteWindowBlock(windows);
        std::ofstream out(binaryPath.empty() ? cppPath : binaryPath, std::ios::binary);
        if (binaryPath.empty())
            out << CppSource(block, symbol, sourcePath);
        else
            out.write(reinterpret_cast<const char*>(block.data()),
                      static_cast<std::streamsize>(block.size()));
        if (!out) throw std::runtime_error("cannot write the output");
    } catch (const velmora::tools::SourceError& e) {
        std::cerr << sourcePath << ":" << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "window_source_compiler: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
