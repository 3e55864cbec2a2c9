#include "ProfileCommand.h"

#include "ConfigChangeRelay.h"
#include "DefaultCatalogue.h"
#include "MenuStore.h"
#include "ProfileManager.h"

namespace pallstone {

namespace {

struct Command
{
    const char16_t* name;
    qsizetype arguments;
};
constexpr Command kCommands[] = {{u"list", 0},   {u"save", 1},   {u"switch", 1}, {u"rename", 2},
                                 {u"delete", 1}, {u"export", 2}, {u"import", 1}};

// subjectIsFile: the subject names a file to read (import), not a profile.
int report(const ProfileManager::Outcome& outcome, const QString& subject, bool subjectIsFile,
           QTextStream& err)
{
    using Status = ProfileManager::Status;
    switch (outcome.status) {
    case Status::Done:
        return ProfileCommand::Done;
    case Status::InvalidName:
        err << "pallstone: a profile name must not be empty, hold \"/\", or be \".\" or \"..\"\n";
        return ProfileCommand::Usage;
    case Status::NoSuchProfile:
        err << (subjectIsFile ? "pallstone: no such file: " : "pallstone: no such profile: ")
            << subject << '\n';
        return ProfileCommand::NoSuchProfile;
    case Status::NotAProfile:
        if (outcome.error.isEmpty())
            err << "pallstone: not a profile archive (it does not open with the profile password "
                   "or holds no config.plist): "
                << subject << '\n';
        else
            err << "pallstone: not a usable profile: " << subject << ": " << outcome.error << '\n';
        return ProfileCommand::NotAProfile;
    case Status::Busy:
        err << "pallstone: another profile is being saved or switched; try again when it has "
               "finished\n";
        return ProfileCommand::Failed;
    case Status::Failed:
        break;
    }
    err << "pallstone: " << subject << ": " << outcome.error << '\n';
    return ProfileCommand::Failed;
}

} // namespace

void ProfileCommand::describe(QTextStream& err)
{
    err << "       pallstone profile list    the profiles (name, date, \"current\" on the one in "
           "use)\n"
           "       pallstone profile save NAME\n"
           "                                 save the configuration as a new profile; prints the "
           "name it got\n"
           "       pallstone profile switch NAME\n"
           "                                 restore a profile's configuration\n"
           "       pallstone profile rename OLD NEW\n"
           "       pallstone profile delete NAME\n"
           "       pallstone profile export NAME DIR\n"
           "                                 copy a profile into a folder; prints the copy's path\n"
           "       pallstone profile import FILE\n"
           "                                 add a profile archive; prints the name it got\n"
           "         exit codes: 0 done, 1 usage, 2 no such profile, 3 not a profile archive, "
           "4 failed\n"
           "         (for import, 2 says that FILE does not exist)\n";
}

int ProfileCommand::run(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const QString command = args.value(0);
    const Command* known = nullptr;
    for (const Command& c : kCommands) {
        if (command == QString::fromUtf16(c.name))
            known = &c;
    }
    if (!known || args.size() != known->arguments + 1) {
        err << "usage: pallstone profile list|save NAME|switch NAME|rename OLD NEW|delete "
               "NAME|export NAME DIR|import FILE\n";
        return Usage;
    }
    MenuStore::setProgram(MenuStore::Program::Settings);
    const QString first = args.value(1);

    if (command == u"list") {
        const QString current = ProfileManager::currentName();
        for (const ProfileManager::Profile& profile : ProfileManager::list()) {
            out << profile.name << '\t' << profile.createDate;
            if (profile.name == current)
                out << "\tcurrent";
            out << '\n';
        }
        return Done;
    }
    if (command == u"save" || command == u"switch") {
        // As at the settings application's start: a fresh home is seeded first, so that the
        // next start does not take what a switch restored for a first run.
        DefaultCatalogue::setup();
    }

    ProfileManager::Outcome outcome;
    if (command == u"save") {
        outcome = ProfileManager::save(first);
        if (outcome.ok())
            out << outcome.name << '\n';
    } else if (command == u"switch") {
        outcome = ProfileManager::switchTo(first);
        if (outcome.ok())
            ConfigChangeRelay::notifyRunningApplication();
    } else if (command == u"rename") {
        outcome = ProfileManager::rename(first, args.value(2));
        if (outcome.ok())
            out << outcome.name << '\n';
    } else if (command == u"delete") {
        outcome = ProfileManager::remove(first);
    } else if (command == u"export") {
        outcome = ProfileManager::exportTo(first, args.value(2));
        if (outcome.ok())
            out << outcome.path << '\n';
    } else {
        outcome = ProfileManager::importFrom(first);
        if (outcome.ok())
            out << outcome.name << '\n';
    }
    const int code = report(outcome, first, command == u"import", err);
    out.flush();
    err.flush();
    return code;
}

} // namespace pallstone
