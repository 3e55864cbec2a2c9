#pragma once

namespace pallstone {

class Clipboard;
class Launcher;

// Where core code finds the clipboard and the launcher. The programs install their real
// implementations at start-up, tests and the headless CLI install recording ones. The pointers are
// not owned: whoever installs an implementation keeps it alive until it installs another or
// nullptr. With nothing installed the getters hand out an implementation that does nothing and
// answers false or empty, so a missing seam never crashes and never pretends to succeed.
class Services final
{
public:
    static Clipboard* clipboard();
    static void setClipboard(Clipboard* clipboard);
    static Launcher* launcher();
    static void setLauncher(Launcher* launcher);

private:
    Services() = delete;
};

} // namespace pallstone
