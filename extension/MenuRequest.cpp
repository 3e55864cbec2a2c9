#include "MenuRequest.h"

#include "Strings.h"

namespace pallstone {

MenuRequest::MenuRequest(MenuKind menuKind, const QStringList& selected, const QString& target)
    : kind(menuKind), selectedPaths(selected), targetPath(target)
{
    selectPaths = selectedPaths;
    if (selectPaths.isEmpty() && Strings::isValid(targetPath))
        selectPaths = {targetPath};
    selectPaths.removeAll(QStringLiteral("/"));
    isSelectURL = kind == MenuKind::Items && !selectPaths.isEmpty();
}

} // namespace pallstone
