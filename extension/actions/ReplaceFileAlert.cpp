#include "ReplaceFileAlert.h"

#include "ActionAlerts.h"
#include "FileOperations.h"
#include "Localizer.h"
#include "Paths.h"

namespace pallstone {

std::optional<QString> ReplaceFileAlert::resolve(const QString& destination, Operation operation,
                                                 const QString& source)
{
    if (!FileOperations::exists(destination))
        return destination;
    const bool isItself = !source.isEmpty() &&
                          FileOperations::isSameOrInside(destination, source) &&
                          FileOperations::isSameOrInside(source, destination);
    // Moving an item to where it already is: it is in place, nothing to ask.
    if (isItself && operation == Operation::Move)
        return std::nullopt;

    switch (ActionAlerts::replaceFile(Paths::lastPathComponent(destination))) {
    case kAlertFirstButton:
        return Paths::uniquePath(destination);
    case kAlertThirdButton:
        if (isItself)
            return std::nullopt; // replacing an item by itself: it is already there
        if (!source.isEmpty() && FileOperations::isSameOrInside(source, destination)) {
            ActionAlerts::tip(Localizer::text(QStringLiteral("Replace Contains Source Tip")));
            return std::nullopt;
        }
        if (operation != Operation::Write)
            Paths::remove(destination);
        return destination;
    default:
        return std::nullopt;
    }
}

} // namespace pallstone
