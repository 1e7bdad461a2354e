#pragma once
// The application's help, opened at a topic number.
#include <string>

namespace v5 {

// The compiled HTML help that serves the topics when the classic help file is not installed.
inline constexpr const char* kHtmlHelpFileName = "Vostrel5.chm";

class Help {
public:
    virtual ~Help() = default;
    // helpFile: the application's help file, named without a directory (it lives beside the program).
    virtual void showTopic(const std::string& helpFile, int topic) = 0;
};

}  // namespace v5
