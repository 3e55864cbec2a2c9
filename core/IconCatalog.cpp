#include "IconCatalog.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <string_view>

namespace pallstone {

namespace {

struct Entry
{
    std::string_view name;
    // Space-separated, best first.
    std::string_view themeNames;
};

constexpr std::array entries{
    Entry{"about", "help-about"},
    Entry{"add", "list-add"},
    Entry{"app", "applications-other"},
    Entry{"choose", "folder-open"},
    Entry{"clear", "edit-clear-all edit-clear-list"},
    Entry{"colorpicker", "color-select color-picker"},
    Entry{"compress", "package-x-generic"},
    Entry{"convert", "image-x-generic"},
    Entry{"copy", "edit-copy"},
    Entry{"copypath", "insert-link"},
    Entry{"css", "text-css"},
    Entry{"cut", "edit-cut"},
    Entry{"delete", "edit-delete"},
    Entry{"docx", "x-office-document"},
    Entry{"dps", "x-office-presentation"},
    Entry{"embed", "folder-new"},
    Entry{"emacs", "emacs"},
    Entry{"et", "x-office-spreadsheet"},
    Entry{"file", "text-x-generic"},
    Entry{"fileinfo", "document-properties"},
    Entry{"folder", "folder"},
    Entry{"favorites", "user-bookmarks"},
    Entry{"goland", "goland com.jetbrains.GoLand"},
    Entry{"hidefile", "view-hidden view-conceal"},
    Entry{"html", "text-html"},
    Entry{"icon", "image-x-generic"},
    Entry{"idea", "intellij-idea-community idea intellij-idea-ultimate "
                  "com.jetbrains.IntelliJ-IDEA-Community"},
    Entry{"img", "image-x-generic"},
    Entry{"iterm2", "utilities-terminal"},
    Entry{"jpg", "image-jpeg"},
    Entry{"js", "application-javascript text-javascript"},
    Entry{"json", "application-json"},
    Entry{"key", "x-office-presentation"},
    Entry{"lock", "changes-prevent"},
    Entry{"md", "text-markdown text-x-markdown"},
    Entry{"more", "view-more"},
    Entry{"move", "go-jump"},
    Entry{"newfile", "document-new"},
    Entry{"numbers", "x-office-spreadsheet"},
    Entry{"pages", "x-office-document"},
    Entry{"odp", "x-office-presentation"},
    Entry{"ods", "x-office-spreadsheet"},
    Entry{"odt", "x-office-document"},
    Entry{"paste", "edit-paste"},
    Entry{"pdf", "application-pdf"},
    Entry{"phpstorm", "phpstorm com.jetbrains.PhpStorm"},
    Entry{"png", "image-png"},
    Entry{"pptx", "x-office-presentation"},
    Entry{"pycharm", "pycharm-community pycharm com.jetbrains.PyCharm-Community"},
    Entry{"py", "text-x-python"},
    Entry{"recover", "edit-undo"},
    Entry{"rtf", "application-rtf"},
    Entry{"script", "text-x-script"},
    Entry{"set", "preferences-system"},
    Entry{"sh", "application-x-shellscript text-x-script"},
    Entry{"showfile", "view-visible view-reveal"},
    Entry{"showfinder", "system-file-manager"},
    Entry{"studio", "android-studio com.google.AndroidStudio"},
    Entry{"sublime", "sublime-text com.sublimetext.three"},
    Entry{"terminal", "utilities-terminal"},
    Entry{"txt", "text-x-generic"},
    Entry{"unlock", "changes-allow"},
    Entry{"vscode", "com.visualstudio.code vscode code visual-studio-code"},
    Entry{"warp", "dev.warp.Warp warp"},
    Entry{"webstorm", "webstorm com.jetbrains.WebStorm"},
    Entry{"weixin", "wechat com.tencent.WeChat"},
    Entry{"wps", "x-office-document"},
    Entry{"xlsx", "x-office-spreadsheet"},
    Entry{"xml", "application-xml text-xml"},
    Entry{"zip", "application-zip package-x-generic"},
};

const Entry* find(const QString& name)
{
    const QByteArray key = name.toUtf8();
    const std::string_view wanted(key.constData(), size_t(key.size()));
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [&wanted](const Entry& e) { return e.name == wanted; });
    return it != entries.end() ? &*it : nullptr;
}

// Icon values come from the store, which a profile can fill with anything: only a plain file
// name may select a bundled file, so "../i18n/x" cannot reach other embedded resources.
bool isPlainName(const QString& name)
{
    if (name.isEmpty() || name.startsWith(u'.'))
        return false;
    return std::all_of(name.begin(), name.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u'-' || c == u'_' || c == u'.';
    });
}

} // namespace

bool IconCatalog::hasResource(const QString& name)
{
    return find(name) != nullptr || !bundledFile(name).isEmpty();
}

QString IconCatalog::themeName(const QString& name)
{
    const QStringList names = themeNames(name);
    return names.isEmpty() ? QString() : names.first();
}

QStringList IconCatalog::themeNames(const QString& name)
{
    const Entry* entry = find(name);
    if (!entry)
        return {};
    return QString::fromLatin1(entry->themeNames.data(), qsizetype(entry->themeNames.size()))
        .split(u' ', Qt::SkipEmptyParts);
}

QString IconCatalog::bundledFile(const QString& name)
{
    if (!isPlainName(name))
        return {};
    QString path = QStringLiteral(":/pallstone/icons/") + name + QStringLiteral(".svg");
    return QFileInfo::exists(path) ? path : QString();
}

QString IconCatalog::folderPicture(const QString& name)
{
    if (!isPlainName(name))
        return {};
    QString path = QStringLiteral(":/pallstone/folder-icons/") + name + QStringLiteral(".png");
    return QFileInfo::exists(path) ? path : QString();
}

} // namespace pallstone
