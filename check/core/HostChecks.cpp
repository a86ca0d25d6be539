// The host's praxo32.ini and PXEquip.ini, and each configured device function, as the plug-in reads them.
#include <map>

#include "check/core/ReadOnly.h"
#include "check/core/SiteChecks.h"
#include "plugin/core/DeviceFunctions.h"
#include "plugin/core/HostConfig.h"
#include "plugin/core/LibraryStart.h"
#include "plugin/core/ReviewFolder.h"
#include "plugin/core/Text.h"
#include "plugin/core/VbError.h"

namespace orvanta::check {

namespace {

std::string Ansi(Site& site, std::u16string_view text) { return site.plugin.locale.ToAnsi(text); }

std::string HostFile(Site& site, std::u16string_view name) {
    return site.probe.WindowsFolder() + "\\" + Ansi(site, name);
}

void CheckPraxo(Site& site, CheckReport& report) {
    const std::string praxo = HostFile(site, kPraxoIni);
    if (!IsFile(site, praxo)) {
        report.Add(kHostArea, "praxo32.ini", State::Fail, praxo + " not found",
                   "Repair the host's installation: the plug-in reads praxo32.ini from the Windows folder.");
        return;
    }
    report.Add(kHostArea, "praxo32.ini", State::Ok, praxo);

    HostDatabaseSettings settings;
    NoHostDataAccess dataAccess;
    try {
        LibraryStart(site.plugin, dataAccess, settings);
    } catch (const VbError&) {
    }
    const std::string kind = Ansi(site, settings.connectionKind);

    auto dataDir = ReadHostValue(site.plugin, kPraxoIni, u"System", u"DataDir");
    const std::string dataDirText = Ansi(site, dataDir.value_or(u""));
    const std::u16string memberAnswer = GetPraxoDBPath(site.plugin);
    if (!dataDir) {
        report.Add(kHostArea, "DataDir", State::Fail, "[System] DataDir missing",
                   "Set [System] DataDir in praxo32.ini to the host's data folder.");
    } else if (memberAnswer == u"-4") {
        report.Add(kHostArea, "DataDir", State::Fail, dataDirText + " is not a full path",
                   "Give [System] DataDir in praxo32.ini with its drive letter or as a \\\\server\\share path.");
    } else if (!settings.serverConnection && GetPraxoDBPathOfExistingDatabase(site.plugin) != *dataDir) {
        report.Add(kHostArea, "DataDir", State::Fail, dataDirText + " holds no praxo.mdb",
                   "Point [System] DataDir in praxo32.ini at the folder that holds the host's praxo.mdb.");
    } else {
        report.Add(kHostArea, "DataDir", State::Ok,
                   settings.serverConnection ? dataDirText : Ansi(site, settings.databaseLocation));
    }

    const std::u16string programs = ReadProgramsFolder(site.plugin);
    if (programs.empty())
        report.Add(kHostArea, "PgmsDir", State::Fail, "[System] PgmsDir missing",
                   "Set [System] PgmsDir in praxo32.ini to the host's programs folder.");
    else if (!IsFolder(site, Ansi(site, programs)))
        report.Add(kHostArea, "PgmsDir", State::Fail, Ansi(site, programs) + " does not exist",
                   "Set [System] PgmsDir in praxo32.ini to the host's existing programs folder.");
    else
        report.Add(kHostArea, "PgmsDir", State::Ok, Ansi(site, programs));

    if (!settings.serverConnection)
        report.Add(kHostArea, "Host database", State::Ok, kind + " (the host's own database file)");
    else if (settings.dataSource.empty())
        report.Add(kHostArea, "Host database", State::Fail, kind + " without [ADOConnection] DataSource",
                   "Name the host's database server in [ADOConnection] DataSource of praxo32.ini.");
    else
        report.Add(
            kHostArea, "Host database", State::Ok,
            kind + " on " + Ansi(site, settings.dataSource) + ", database " + Ansi(site, settings.databaseLocation));
}

// The equipment list: its count, and every entry that names the plug-in.
void CheckEquipmentList(Site& site, CheckReport& report) {
    const std::string equip = HostFile(site, kEquipIni);
    if (!IsFile(site, equip)) {
        report.Add(kHostArea, "PXEquip.ini", State::Warn, equip + " not found",
                   "List the captures and reviews in PXEquip.ini; without it every capture takes the images from "
                   "the host programs folder.");
        return;
    }
    auto number = ReadHostValue(site.plugin, kEquipIni, u"Equipment", u"Number");
    const double count = number ? RoundHalfEven(LeadingNumber(*number)) : 0;
    const std::string numberText = Ansi(site, number.value_or(u""));
    if (!number || !(count >= 1)) {
        report.Add(kHostArea, "Equipment Number", State::Warn,
                   number ? "[Equipment] Number=" + numberText : std::string("[Equipment] Number missing"),
                   "Set [Equipment] Number in PXEquip.ini to the count of equipment entries.");
        return;
    }
    if (count > 32767) {
        report.Add(kHostArea, "Equipment Number", State::Fail, "[Equipment] Number=" + numberText + " (over 32767)",
                   "Set [Equipment] Number in PXEquip.ini to the real count of entries; every capture and review "
                   "fails with Overflow.");
        return;
    }
    const int entries = static_cast<int>(count);
    report.Add(kHostArea, "Equipment Number", State::Ok, "[Equipment] Number=" + std::to_string(entries));

    std::map<std::u16string, int> firstOfKey;
    int problems = 0;
    auto problem = [&](int i, State state, const std::string& found, const std::string& advice) {
        ++problems;
        report.Add(kHostArea, "Equipment entry " + std::to_string(i), state, found, advice);
    };
    for (int i = 1; i <= entries; ++i) {
        auto entry = ReadHostValue(site.plugin, kEquipIni, u"Equipment", Decimal(i));
        if (!entry) {
            problem(i, State::Warn, "[Equipment] " + std::to_string(i) + " missing",
                    "Write the entries 1 to Number without gaps, or lower [Equipment] Number.");
            continue;
        }
        const std::string text = std::to_string(i) + "=" + Ansi(site, *entry);
        auto fields = Split(*entry, u':');
        // The maker word, in any case and with blanks around it: entries meant for the plug-in.
        const std::u16string_view maker = kEquipmentKeyPrefix.substr(0, kEquipmentKeyPrefix.size() - 1);
        if (fields.size() < 3 || AsciiUpper(TrimBlanks(fields[2])) != AsciiUpper(maker)) continue;
        if (fields.size() != 4) {
            problem(i, State::Fail, text + " (" + std::to_string(fields.size()) + " fields)",
                    "Write the entry as number:text:Orvanta:device function, four fields joined by ':'.");
            continue;
        }
        try {
            TextToInt16(fields[0]);
        } catch (const VbError&) {
            problem(i, State::Fail, text + " (field 0 is not a 16-bit number)",
                    "Begin the entry with its equipment number (1 to 32767); every capture and review of it ends "
                    "in a type-mismatch error.");
            continue;
        }
        const std::u16string key = Join(fields, 2, 2, u':');
        std::u16string caseMatch;
        bool exact = false;
        for (std::u16string_view name : kDeviceFunctions) {
            std::u16string catalogueKey = std::u16string(kEquipmentKeyPrefix) + std::u16string(name);
            if (key == catalogueKey)
                exact = true;
            else if (AsciiUpper(key) == AsciiUpper(catalogueKey))
                caseMatch = catalogueKey;
        }
        if (!exact) {
            if (!caseMatch.empty())
                problem(i, State::Warn, text + " (differs from " + Ansi(site, caseMatch) + " in case only)",
                        "Write the key exactly as " + Ansi(site, caseMatch) +
                            ": the plug-in compares it with "
                            "regard to case, so this entry never matches.");
            else
                problem(i, State::Warn, text + " (no device function of the plug-in)",
                        "Name one of the plug-in's device functions after 'Orvanta:', for example Capture Sorvane.");
            continue;
        }
        auto [first, inserted] = firstOfKey.emplace(key, i);
        if (!inserted)
            problem(i, State::Warn, text + " (same key as entry " + std::to_string(first->second) + ")",
                    "Remove one of the two entries: only entry " + std::to_string(first->second) + " counts.");
    }
    if (problems == 0)
        report.Add(kHostArea, "Equipment entries", State::Ok,
                   std::to_string(firstOfKey.size()) + " of the plug-in's device functions listed");
}

}  // namespace

void CheckHostFiles(Site& site, CheckReport& report) {
    CheckPraxo(site, report);
    CheckEquipmentList(site, report);
}

}  // namespace orvanta::check
