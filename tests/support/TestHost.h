// A plain top-level window that hosts controls under test and reflects their notifications,
// as the main window does.
#pragma once

#include "base/Window.h"

#include <functional>
#include <string>

namespace nv::test {

class TestHost : public WindowBase {
public:
    explicit TestHost(int width = 500, int height = 400);
    RECT Client() const;
    // Extra message handling for a test; return true when handled.
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> OnMessage;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// Runs the messages already waiting in this thread's queue.
void PumpMessages();

// A temporary folder for one test, removed with its files at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// Puts text on the clipboard as CF_TEXT.
void SetClipboardText(const std::string& text);
// The clipboard's text, empty when it has none.
std::string ClipboardText();

} // namespace nv::test
