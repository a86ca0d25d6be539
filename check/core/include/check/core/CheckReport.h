// The site check's findings: one row per check, and the report printed from them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvanta::check {

enum class State { Ok, Warn, Fail };

// Texts are in the ANSI code page, as the site's files hold them.
struct CheckRow {
    std::string area;
    std::string name;
    State state = State::Ok;
    std::string found;
    std::string advice;  // one sentence: what to do; empty for OK
};

class CheckReport {
public:
    void Add(std::string_view area, std::string name, State state, std::string found, std::string advice = {});
    const std::vector<CheckRow>& Rows() const { return rows_; }
    int Count(State state) const;
    // 0 all OK, 1 warnings only, 2 a failure.
    int ExitCode() const;

private:
    std::vector<CheckRow> rows_;
};

std::string_view StateName(State state);
// Console text: the rows grouped by area in the order the areas first appear, one line per check (its advice on
// the next line), then "N OK, N WARN, N FAIL". Lines end with CR LF.
std::string ReportText(const CheckReport& report, std::string_view heading);
// The same report as one self-contained HTML page (Windows-1252, styles inline in the page).
std::string ReportHtml(const CheckReport& report, std::string_view heading);

}  // namespace orvanta::check
