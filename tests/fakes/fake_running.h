#pragma once
// Progress windows that record their bar positions; the log outlives the windows.
#include <memory>
#include <vector>

#include "utilities/running.h"

namespace v5::fakes {

class FakeRunningWindows : public RunningWindows {
public:
    struct Shown {
        std::vector<int> positions{kRunningStartPosition};
        bool freed = false;
    };
    std::vector<std::shared_ptr<Shown>> windows;
    int alive() const {
        int n = 0;
        for (const auto& w : windows) n += w->freed ? 0 : 1;
        return n;
    }

    std::unique_ptr<TfrmRunning> Create() override {
        windows.push_back(std::make_shared<Shown>());
        return std::make_unique<Window>(windows.back());
    }

private:
    class Window : public TfrmRunning {
    public:
        explicit Window(std::shared_ptr<Shown> shown) : shown_(std::move(shown)) {}
        ~Window() override { shown_->freed = true; }
        void SetProgress(int position) override { shown_->positions.push_back(position); }
        int Progress() const override { return shown_->positions.back(); }

    private:
        std::shared_ptr<Shown> shown_;
    };
};

}  // namespace v5::fakes
