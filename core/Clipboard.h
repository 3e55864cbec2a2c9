#pragma once

#include <QString>

namespace pallstone {

// The general clipboard as the core sees it. The widget implementation and the recording one used
// by tests and the headless CLI live above the core; core code reaches them through Services.
class Clipboard
{
public:
    virtual ~Clipboard() = default;

    // Replaces the clipboard's contents with plain text; false when the clipboard refused it.
    virtual bool setText(const QString& text) = 0;
    // The clipboard's plain text; empty when it holds none.
    virtual QString text() const = 0;
};

} // namespace pallstone
