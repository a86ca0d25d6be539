// Every platform port in memory, with the usual defaults: an empty file system with the profile over it, boxes
// that press their first button, the clock at 02-05-2015 11:48:30 PM, computer WS01 with counting UUIDs, a Latin-1
// code page with U.S. time and date texts, a shell that records what it starts. Fixtures and fuzz harnesses build
// on it, and change what they need.
#pragma once

#include "platform/fake/FakeLocale.h"
#include "platform/fake/MemoryFileSystem.h"
#include "platform/fake/MemoryProfile.h"
#include "platform/fake/Scripted.h"
#include "platform/fake/UsDateFormat.h"

namespace platform::fake {

struct FakePlatform {
    MemoryFileSystem files;
    MemoryProfile profile{files};
    ScriptedMessageBox boxes;
    FixedClock clock;
    FakeSystem system;
    FakeLocale locale;
    RecordingShell shell;
    UsDateFormat dates;
};

}  // namespace platform::fake
