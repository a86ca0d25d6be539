#include "platform/fake/Scripted.h"

namespace platform::fake {

MsgAnswer ScriptedMessageBox::Show(const std::string& text, const std::string& caption, const MsgStyle& style) {
    MsgAnswer answer = style.buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    shown.push_back(Shown{text, caption, style, answer});
    return answer;
}

std::tm FixedClock::MakeTm(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return tm;
}

std::string FakeSystem::ComputerName(std::size_t bufferSize) {
    if (computerName.size() + 1 > bufferSize) return {};  // GetComputerNameA fails on a short buffer
    return computerName;
}

UuidResult FakeSystem::CreateUuid() {
    if (!uuids.empty()) {
        UuidResult next = uuids.front();
        uuids.pop_front();
        return next;
    }
    UuidResult result;
    ++uuidCounter;
    for (std::size_t i = 0; i < result.bytes.size(); ++i)
        result.bytes[i] = static_cast<std::uint8_t>((uuidCounter * 37 + i * 11) & 0xff);
    result.bytes[15] = static_cast<std::uint8_t>(uuidCounter);
    return result;
}

}  // namespace platform::fake
