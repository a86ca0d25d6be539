#include "check/core/CheckReport.h"

#include <algorithm>

namespace orvanta::check {

namespace {

std::vector<std::string> Areas(const CheckReport& report) {
    std::vector<std::string> areas;
    for (const CheckRow& row : report.Rows())
        if (std::find(areas.begin(), areas.end(), row.area) == areas.end()) areas.push_back(row.area);
    return areas;
}

std::string Summary(const CheckReport& report) {
    return std::to_string(report.Count(State::Ok)) + " OK, " + std::to_string(report.Count(State::Warn)) + " WARN, " +
           std::to_string(report.Count(State::Fail)) + " FAIL";
}

std::string Escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

void CheckReport::Add(std::string_view area, std::string name, State state, std::string found, std::string advice) {
    rows_.push_back({std::string(area), std::move(name), state, std::move(found), std::move(advice)});
}

int CheckReport::Count(State state) const {
    return static_cast<int>(
        std::count_if(rows_.begin(), rows_.end(), [&](const CheckRow& r) { return r.state == state; }));
}

int CheckReport::ExitCode() const { return Count(State::Fail) > 0 ? 2 : Count(State::Warn) > 0 ? 1 : 0; }

std::string_view StateName(State state) {
    switch (state) {
        case State::Ok:
            return "OK";
        case State::Warn:
            return "WARN";
        case State::Fail:
            return "FAIL";
    }
    return "";
}

std::string ReportText(const CheckReport& report, std::string_view heading) {
    std::string text = std::string(heading) + "\r\n";
    for (const std::string& area : Areas(report)) {
        text += "\r\n" + area + "\r\n";
        for (const CheckRow& row : report.Rows()) {
            if (row.area != area) continue;
            std::string state(StateName(row.state));
            state.resize(5, ' ');
            text += "  " + state + row.name + ": " + row.found + "\r\n";
            if (!row.advice.empty()) text += "       -> " + row.advice + "\r\n";
        }
    }
    text += "\r\n" + Summary(report) + "\r\n";
    return text;
}

std::string ReportHtml(const CheckReport& report, std::string_view heading) {
    std::string html =
        "<!DOCTYPE html>\r\n<html><head><meta charset=\"windows-1252\"><title>" + Escaped(heading) +
        "</title>\r\n<style>body{font-family:sans-serif}table{border-collapse:collapse}"
        "td,th{border:1px solid #999;padding:3px 6px;text-align:left;vertical-align:top}"
        ".OK{background:#c8f0c8}.WARN{background:#fff0a0}.FAIL{background:#f8b8b8}</style></head>\r\n<body>\r\n<h1>" +
        Escaped(heading) + "</h1>\r\n";
    for (const std::string& area : Areas(report)) {
        html += "<h2>" + Escaped(area) +
                "</h2>\r\n<table>\r\n<tr><th>State</th><th>Check</th><th>Found</th><th>What to do</th></tr>\r\n";
        for (const CheckRow& row : report.Rows()) {
            if (row.area != area) continue;
            std::string state(StateName(row.state));
            html += "<tr class=\"" + state + "\"><td>" + state + "</td><td>" + Escaped(row.name) + "</td><td>" +
                    Escaped(row.found) + "</td><td>" + Escaped(row.advice) + "</td></tr>\r\n";
        }
        html += "</table>\r\n";
    }
    html += "<p id=\"summary\">" + Summary(report) + "</p>\r\n</body></html>\r\n";
    return html;
}

}  // namespace orvanta::check
