/*
 * The Nautilus bridge: shows the menu the Pallstone extension service builds for the selection
 * and hands the chosen entry back to it (pallstone-bridge.c holds the rules every bridge keeps).
 */
#include "pallstone-bridge.h"

#include <nautilus-extension.h>

static char* local_uri(gpointer file)
{
    if (!NAUTILUS_IS_FILE_INFO(file))
        return NULL;
    NautilusFileInfo* info = NAUTILUS_FILE_INFO(file);
    return pallstone_local_uri(nautilus_file_info_get_uri(info),
                               nautilus_file_info_get_activation_uri(info));
}

static GObject* new_item(const PallstoneRow* row)
{
    /* Nautilus has no separators: one with text becomes an entry that cannot be chosen; a plain
     * one is left out. */
    if (row->separator && !*row->title)
        return NULL;
    char* name = pallstone_row_name(row);
    char* label = pallstone_gtk_label(row->title);
    NautilusMenuItem* item = nautilus_menu_item_new(name, label, NULL, row->icon);
    if (row->separator)
        g_object_set(item, "sensitive", FALSE, NULL);
    g_free(label);
    g_free(name);
    return G_OBJECT(item);
}

static void append_item(GObject* parent, GObject* child)
{
    NautilusMenu* submenu = NULL;
    g_object_get(parent, "menu", &submenu, NULL);
    if (!submenu) {
        submenu = nautilus_menu_new();
        nautilus_menu_item_set_submenu(NAUTILUS_MENU_ITEM(parent), submenu);
    }
    nautilus_menu_append_item(submenu, NAUTILUS_MENU_ITEM(child));
    g_object_unref(submenu);
}

/* The window the menu is for: Nautilus's extension API does not say, and the menu opens in the
 * active one. Borrowed. */
static gpointer active_window(void)
{
    GApplication* application = g_application_get_default();
    if (!application ||
        !g_object_class_find_property(G_OBJECT_GET_CLASS(application), "active-window"))
        return NULL;
    GObject* window = NULL;
    g_object_get(application, "active-window", &window, NULL);
    /* The application holds it: the reference taken here is not needed. */
    if (window)
        g_object_unref(window);
    return window;
}

/* Nautilus's own Reload (F5): it shows an item that left the hidden list, which a change of the
 * item alone does not. */
static void reload(gpointer window)
{
    if (G_IS_ACTION_GROUP(window) && g_action_group_has_action(G_ACTION_GROUP(window), "reload"))
        g_action_group_activate_action(G_ACTION_GROUP(window), "reload", NULL);
}

static GList* get_file_items(NautilusMenuProvider* provider, GList* files)
{
    (void)provider;
    return pallstone_items_for_selection(files, active_window(), local_uri, new_item, append_item);
}

static GList* get_background_items(NautilusMenuProvider* provider, NautilusFileInfo* folder)
{
    (void)provider;
    return pallstone_items_for_folder(folder, active_window(), local_uri, new_item, append_item);
}

PALLSTONE_DEFINE_MODULE_PROVIDER(nautilus, NAUTILUS_TYPE_MENU_PROVIDER,
                                 NautilusMenuProviderInterface,
                                 iface->get_file_items = get_file_items;
                                 iface->get_background_items = get_background_items;
                                 pallstone_bridge_set_reload(reload);)
