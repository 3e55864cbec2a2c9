#pragma once

#include "EntryPaths.h"
#include "MenuBuilder.h"
#include "MenuRequest.h"
#include "Prompter.h"

namespace pallstone {

// The menu of a selection as the palette shows it, and the entry chosen there carried out.
class Palette final
{
public:
    // The header names what the entries act on; a row per entry that can be chosen.
    static PaletteRequest requestFor(const MenuRequest& request, const EntryPaths& entries,
                                     const QString& note = {});
    // Asks through the prompter and runs the entry chosen; false when none was.
    static bool open(const MenuRequest& request, const Menu& menu, const QString& note = {});

private:
    Palette() = delete;
};

} // namespace pallstone
