#include "Alert.h"

#include "Localizer.h"
#include "Prompter.h"

#include <QWidget>

namespace pallstone {

int Alert::alertWithMsg(const QString& informative, QWidget* window, const QStringList& buttons)
{
    AlertRequest request;
    request.style = AlertRequest::Style::Informational;
    request.message = Localizer::text(QStringLiteral("Tip"));
    request.informative = informative;
    request.buttons = buttons;
    if (window)
        request.parent = window->window();
    return Prompter::instance()->alert(request);
}

bool Alert::confirm(const QString& informative, QWidget* window)
{
    return alertWithMsg(informative, window,
                        {Localizer::text(QStringLiteral("OK")),
                         Localizer::text(QStringLiteral("Cancel"))}) == kAlertFirstButton;
}

} // namespace pallstone
