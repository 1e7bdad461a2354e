// The toolkit's clipboard reader and writer against the real clipboard.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/win32/toolkit/clipboard.h"

namespace v5::win32 {
namespace {

// Empties the clipboard and, unless the format is 0, leaves exactly these bytes on it as that
// format.
void PutBlock(UINT format, const std::string& bytes) {
    OpenedClipboard clipboard;
    ASSERT_TRUE(clipboard);
    clipboard.empty();
    if (format == 0) return;
    OwnedGlobal block(GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    {
        LockedGlobal<char> locked(block.get());
        ASSERT_TRUE(locked);
        std::memcpy(locked.get(), bytes.data(), bytes.size());
    }
    ASSERT_TRUE(clipboard.put(format, block));
    EXPECT_FALSE(block) << "a block the clipboard took is no longer ours";
}

// The clipboard held open by another thread until this goes, or for the time given, as another
// program would hold it.
class HeldElsewhere {
public:
    explicit HeldElsewhere(DWORD releaseAfterMs = 10000)
        : releaseAfterMs_(releaseAfterMs),
          opened_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          done_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          thread_(CreateThread(nullptr, 0, &HeldElsewhere::hold, this, 0, nullptr)) {
        WaitForSingleObject(opened_.get(), 10000);
    }
    ~HeldElsewhere() {
        SetEvent(done_.get());
        WaitForSingleObject(thread_.get(), 10000);
    }
    bool held() const { return held_; }

private:
    static DWORD WINAPI hold(void* self) {
        auto* h = static_cast<HeldElsewhere*>(self);
        // Opened for a window, as programs do: the clipboard is then that window's alone.
        const OwnedWindow window(
            CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
        OpenedClipboard clipboard(window.get());
        h->held_ = static_cast<bool>(clipboard);
        SetEvent(h->opened_.get());
        WaitForSingleObject(h->done_.get(), h->releaseAfterMs_);
        return 0;
    }
    DWORD releaseAfterMs_;
    OwnedHandle opened_, done_;
    bool held_ = false;
    OwnedHandle thread_;
};

TEST(Win32Clipboard, ReadsTheTextUpToItsZeroAndTellsAnEmptyTextFromNone) {
    const UINT otherFormat = RegisterClipboardFormatA("Vostrel test format");
    const struct {
        const char* what;
        UINT format;
        std::string block;
        ClipboardRead outcome;
        std::string text;
    } cases[] = {
        {"text", CF_TEXT, std::string("one\r\ntwo\0", 9), ClipboardRead::Read, "one\r\ntwo"},
        {"an empty text", CF_TEXT, std::string(1, '\0'), ClipboardRead::Read, ""},
        {"a block larger than its text", CF_TEXT, std::string("abc\0left over", 13), ClipboardRead::Read, "abc"},
        {"an empty clipboard", 0, "", ClipboardRead::NoText, ""},
        {"another format only", otherFormat, "abc", ClipboardRead::NoText, ""},
    };
    for (const auto& c : cases) {
        PutBlock(c.format, c.block);
        std::string text = "stale";
        EXPECT_EQ(ReadClipboardText(text), c.outcome) << c.what;
        EXPECT_EQ(text, c.text) << c.what;
    }
}

TEST(Win32Clipboard, WrittenTextReadsBackWhetherCopiedOrFilledInPlace) {
    const std::string large(3 << 20, 'L');
    const struct {
        const char* what;
        bool filled;
        std::string text;
    } cases[] = {
        {"copied", false, "one\r\ntwo"},
        {"copied, empty", false, ""},
        {"filled", true, "a\r\nb"},
        {"filled, large", true, large},
    };
    for (const auto& c : cases) {
        PutBlock(CF_TEXT, std::string("previous\0", 9));
        const ClipboardWrite written =
            c.filled ? WriteClipboardText(c.text.size(),
                                          [&](char* block) { std::memcpy(block, c.text.data(), c.text.size()); })
                     : WriteClipboardText(c.text);
        EXPECT_EQ(written, ClipboardWrite::Written) << c.what;
        std::string text;
        EXPECT_EQ(ReadClipboardText(text), ClipboardRead::Read) << c.what;
        EXPECT_TRUE(text == c.text) << c.what << ": " << text.size() << " bytes read";
    }
}

TEST(Win32Clipboard, AClipboardHeldElsewhereIsUnavailableAndKeepsItsText) {
    ASSERT_EQ(WriteClipboardText("kept"), ClipboardWrite::Written);
    std::string text = "stale";
    {
        HeldElsewhere other;
        ASSERT_TRUE(other.held());
        EXPECT_EQ(ReadClipboardText(text), ClipboardRead::Unavailable);
        EXPECT_EQ(text, "");
        EXPECT_EQ(WriteClipboardText("lost"), ClipboardWrite::Unavailable);
    }
    EXPECT_EQ(ReadClipboardText(text), ClipboardRead::Read);
    EXPECT_EQ(text, "kept");

    // Held for a moment only, as a program that watches the clipboard holds it after a change:
    // the reader and the writer wait for it.
    {
        HeldElsewhere watcher(100);
        ASSERT_TRUE(watcher.held());
        EXPECT_EQ(ReadClipboardText(text), ClipboardRead::Read);
        EXPECT_EQ(text, "kept");
    }
    {
        HeldElsewhere watcher(100);
        EXPECT_EQ(WriteClipboardText("after the watcher"), ClipboardWrite::Written);
    }
    EXPECT_EQ(ReadClipboardText(text), ClipboardRead::Read);
    EXPECT_EQ(text, "after the watcher");
}

}  // namespace
}  // namespace v5::win32
