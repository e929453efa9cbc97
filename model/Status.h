#pragma once
// The outcome of an operation on a file or the settings: success, or a message for
// the teacher that says what went wrong. Core code never shows messages itself;
// the window that called it does.

#include <QString>
#include <utility>

struct Status {
    bool ok = true;
    QString message;

    static Status success() { return {}; }
    static Status failure(QString text) { return {false, std::move(text)}; }
    explicit operator bool() const { return ok; }
};
