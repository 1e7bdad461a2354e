#pragma once
// Recording fakes of the shell's ports.
#include <deque>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/ports.h"
#include "shell/props.h"

namespace v5::fakes {

class FakeClock : public Clock {
public:
    std::string date = "07/12/2026";
    std::string time = "14:03:09";
    std::string shortDate() override { return date; }
    std::string longTime() override { return time; }
};

struct ShownBox {
    std::string text;
    std::string caption;
    unsigned style;
};

class FakeMessageBoxes : public MessageBoxes {
public:
    std::vector<ShownBox> shown;
    std::deque<int> answers;  // answers given in turn; IDOK (1) once they run out
    int show(const std::string& text, const std::string& caption, unsigned style) override {
        shown.push_back({text, caption, style});
        if (answers.empty()) return 1;
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class FakeApplication : public Application {
public:
    int terminateCalls = 0;
    int processMessagesCalls = 0;
    void terminate() override { ++terminateCalls; }
    bool terminated() const override { return terminateCalls > 0; }
    void processMessages() override { ++processMessagesCalls; }
};

// Keys matched exactly; enough for the shell's start-up reads (FakeProfile keeps every rule).
// Whole numbers read as the platform reads them, through the text.
class SimpleProfile : public Profile {
public:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
    std::vector<std::string> reads;
    std::string readString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& defaultValue) override {
        reads.push_back(file + "|" + section + "|" + key);
        auto it = values.find({file, section, key});
        return it == values.end() ? defaultValue : it->second;
    }
    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override {
        values[{file, section, key}] = value;
        return true;
    }
};

class FakePropsView : public PropsView {
public:
    bool visible = false;
    bool applicationWindowHidden = false;
    std::vector<std::string> calls;
    void hideWindow() override { visible = false; calls.push_back("hide"); }
    void showWindow() override { visible = true; calls.push_back("show"); }
    bool windowVisible() const override { return visible; }
    void bringToFront() override { calls.push_back("front"); }
    void hideApplicationWindow() override { applicationWindowHidden = true; calls.push_back("hideApp"); }
};

}  // namespace v5::fakes
