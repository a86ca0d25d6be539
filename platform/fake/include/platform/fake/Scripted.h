// Message boxes, shell, clock and system for unit tests: scripted answers, recorded calls.
#pragma once

#include <deque>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/System.h"

namespace platform::fake {

class ScriptedMessageBox : public IMessageBox {
public:
    struct Shown {
        std::string text;
        std::string caption;
        MsgStyle style;
        MsgAnswer answer;
    };
    MsgAnswer Show(const std::string& text, const std::string& caption, const MsgStyle& style) override;

    std::deque<MsgAnswer> answers;  // taken in order; when empty, the first button is pressed
    std::vector<Shown> shown;
};

class RecordingShell : public IShell {
public:
    struct Call {
        WindowHandle owner;
        std::string verb, file, parameters, directory;
        int showCommand;
        std::u16string wideFile;
    };
    std::intptr_t Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                          const std::string& parameters, const std::string& directory, int showCommand) override {
        calls.push_back(Call{owner, verb, file, parameters, directory, showCommand, {}});
        return result;
    }
    // Recorded as an "open" call with the document in wideFile.
    std::intptr_t Open(WindowHandle owner, const std::u16string& file, int showCommand) override {
        calls.push_back(Call{owner, "open", {}, {}, {}, showCommand, file});
        return result;
    }

    std::intptr_t result = 42;  // started
    std::vector<Call> calls;
};

class FixedClock : public IClock {
public:
    std::int64_t UnixNow() override { return unixNow; }
    std::tm LocalNow() override { return localNow; }

    std::int64_t unixNow = 1733660000;  // 2024-12-08
    std::tm localNow = MakeTm(2015, 2, 5, 23, 48, 30);

    static std::tm MakeTm(int year, int month, int day, int hour, int minute, int second);
};

class FakeSystem : public ISystem {
public:
    std::string ComputerName(std::size_t bufferSize) override;
    bool HaveModuleHandle() override { return haveModuleHandle; }
    void DetachConsole() override { detached = true; }
    UuidResult CreateUuid() override;

    std::string computerName = "WS01";
    bool haveModuleHandle = true;
    bool detached = false;
    std::deque<UuidResult> uuids;  // taken in order; when empty, a fresh counting UUID
    unsigned uuidCounter = 0;
};

}  // namespace platform::fake
