#include "Alert.h"

#include "Localizer.h"
#include "Prompter.h"

#include <QWidget>

namespace pallstone {

namespace {

int show(AlertRequest::Style style, const QString& heading, const QString& informative,
         QWidget* window, const QStringList& buttons)
{
    AlertRequest request;
    request.style = style;
    request.message = heading;
    request.informative = informative;
    request.buttons = buttons;
    if (window)
        request.parent = window->window();
    return Prompter::instance()->alert(request);
}

} // namespace

int Alert::alertWithMsg(const QString& heading, const QString& informative, QWidget* window,
                        const QStringList& buttons)
{
    return show(AlertRequest::Style::Informational, heading, informative, window, buttons);
}

int Alert::warning(const QString& heading, const QString& informative, QWidget* window)
{
    return show(AlertRequest::Style::Warning, heading, informative, window, {});
}

bool Alert::confirm(const QString& heading, const QString& informative, const QString& action,
                    QWidget* window)
{
    return show(AlertRequest::Style::Warning, heading, informative, window,
                {action, Localizer::text(QStringLiteral("Cancel"))}) == kAlertFirstButton;
}

} // namespace pallstone
