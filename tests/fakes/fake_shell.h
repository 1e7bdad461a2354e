#pragma once
// Recording fakes of the shell's ports.
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
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
    // What arrives while pending messages are processed (a click the user makes meanwhile).
    std::function<void()> onProcessMessages;
    void processMessages() override {
        ++processMessagesCalls;
        if (onProcessMessages) std::exchange(onProcessMessages, nullptr)();
    }
    // Every wait for messages, with its time-out; a test may let time pass or windows appear here.
    std::vector<unsigned> waits;
    std::function<void(unsigned)> onWait;
    void waitForMessages(unsigned timeoutMs) override {
        waits.push_back(timeoutMs);
        if (onWait) onWait(timeoutMs);
        processMessages();
    }
};

// Keys matched exactly; enough for the shell's start-up reads (FakeProfile keeps every rule).
// Whole numbers read as the platform reads them, through the text.
class SimpleProfile : public Profile {
public:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
    std::vector<std::string> reads;
    bool writable = true;  // false: every write fails, as on a settings file that cannot be written
    std::string readString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& defaultValue) override {
        reads.push_back(file + "|" + section + "|" + key);
        auto it = values.find({file, section, key});
        return it == values.end() ? defaultValue : it->second;
    }
    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override {
        if (!writable) return false;
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

    PixelSize window{559, 438};
    PixelSize screen{1024, 768};
    PixelPoint position{-1, -1};
    std::vector<int> helpTopics;
    std::string helpFile;
    std::vector<PixelPoint> toolsMenus;
    PixelSize windowSize() const override { return window; }
    PixelSize screenSize() const override { return screen; }
    void moveWindow(int left, int top) override { position = {left, top}; calls.push_back("move"); }
    void bringApplicationToFront() override { calls.push_back("appFront"); }
    void selectAboutText() override { calls.push_back("selectAbout"); }
    void popupToolsMenu(int x, int y) override { toolsMenus.push_back({x, y}); calls.push_back("toolsMenu"); }
    void showHelp(const std::string& file, int topic) override {
        helpFile = file;
        helpTopics.push_back(topic);
    }
};

// The tray: records every call and answers as told.
class FakeTray : public Tray {
public:
    struct Call {
        TrayOperation operation;
        TrayEntry entry;
    };
    std::vector<Call> calls;
    bool accept = true;
    TrayPoint cursor{100, 200};
    bool notify(TrayOperation operation, const TrayEntry& entry) override {
        calls.push_back({operation, entry});
        return accept;
    }
    TrayPoint cursorPos() override { return cursor; }
};

// Version resources of named files: each file holds key/value pairs under full sub-block names.
class FakeVersionResources : public VersionResources {
public:
    std::string self = "C:\\V5\\Vostrel5.EXE";
    std::map<std::string, std::map<std::string, std::string>> files;
    std::vector<std::string> queries;
    std::string ownFileName() override { return self; }
    VersionLookup query(const std::string& file, const std::string& subBlock) override {
        queries.push_back(file + "|" + subBlock);
        auto f = files.find(file);
        if (f == files.end()) return {VersionLookup::NoResource, {}};
        auto v = f->second.find(subBlock);
        if (v == f->second.end()) return {VersionLookup::NoValue, {}};
        return {VersionLookup::Found, v->second};
    }
};

class FakeOsVersion : public OsVersion {
public:
    OsVersionInfo info{6, 1, 7601, 2, "Service Pack 1"};
    OsVersionInfo get() override { return info; }
};

}  // namespace v5::fakes
