#include "plugin/core/PluginLog.h"

#include <cstdio>

#include "plugin/core/Text.h"

namespace orvanta {

namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

void Append(Services& services, std::u16string_view fileName, std::u16string_view record) {
    std::u16string path = services.pluginFolder + u"\\" + std::u16string(fileName);
    if (!services.files.WriteText(ToUtf8(path), services.locale.ToAnsi(record), platform::WriteMode::Append))
        throw VbError(vb::kPathFileAccessError);
}

}  // namespace

std::u16string Timestamp(Services& services) {
    std::tm now = services.clock.LocalNow();
    char date[16];
    std::snprintf(date, sizeof date, "%02d-%02d-%04d", (now.tm_mon + 1) % 100, now.tm_mday % 100,
                  (now.tm_year + 1900) % 10000);
    std::u16string text(date, date + 10);
    text += u"  ";
    text += services.locale.LongTime(now);
    return text;
}

void WritePluginLog(Services& services, std::u16string_view text) {
    std::u16string record(kLineEnd);
    record += Timestamp(services);
    record += text;
    record += kLineEnd;
    Append(services, kPluginLogFile, record);
}

void WriteExamDataLog(Services& services, std::u16string_view text) {
    std::u16string record(kLineEnd);
    record += Timestamp(services);
    record += text;
    record += kLineEnd;
    record += kLineEnd;
    Append(services, kExamDataLogFile, record);
}

void ReportError(Services& services, std::u16string_view context, const VbError& error) {
    std::u16string box = u"PXE_Orvanta IF Error Num=" + Decimal(error.Number()) + u"  " + error.Description() + u"." +
                         std::u16string(kLineEnd) + std::u16string(context);
    services.boxes.Show(services.locale.ToAnsi(box), services.locale.ToAnsi(kErrorTitle),
                        {platform::MsgButtons::Ok, platform::MsgIcon::Critical});

    std::u16string record(kLineEnd);
    record += Timestamp(services);
    record += u" Error in: ";
    record += context;
    record += kLineEnd;
    record += u"      Error Num=" + Decimal(error.Number()) + u"  " + error.Description();
    record += kLineEnd;
    Append(services, kErrorFile, record);
}

}  // namespace orvanta
