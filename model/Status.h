#pragma once
// The outcome of an operation on a file or the settings: success, or a message for
// the teacher that says what went wrong. Core code never shows messages itself;
// the window that called it does. A success may carry a notice all the same (a
// file left aside, and what the program did without it), which is shown as well.

#include <QString>
#include <utility>

struct Status {
    bool ok = true;
    QString message;

    static Status success() { return {}; }
    static Status failure(QString text) { return {false, std::move(text)}; }
    static Status notice(QString text) { return {true, std::move(text)}; }
    explicit operator bool() const { return ok; }
};
