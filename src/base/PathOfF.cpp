#include "base/PathOfF.h"

namespace v5 {

std::string DirectoryOf(std::string_view path) {
    std::size_t slash = path.rfind('\\');
    if (slash == std::string_view::npos) return std::string(path);
    return std::string(path.substr(0, slash + 1));
}

std::string FileNameOf(std::string_view path) {
    std::size_t slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string CommandLineText(const std::vector<std::string>& arguments) {
    std::string joined;
    for (const std::string& argument : arguments) joined += argument;
    return joined;
}

bool CommandLineHas(std::string_view commandLineText, std::string_view switchText) {
    return commandLineText.find(switchText) != std::string_view::npos;
}

}  // namespace v5
