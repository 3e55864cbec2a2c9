/*
 * The Caja bridge: shows the menu the Pallstone extension service builds for the selection and
 * hands the chosen entry back to it (pallstone-bridge.c holds the rules every bridge keeps).
 */
#include "pallstone-bridge.h"

#include <libcaja-extension/caja-extension-types.h>
#include <libcaja-extension/caja-file-info.h>
#include <libcaja-extension/caja-menu-provider.h>

static char* local_uri(gpointer file)
{
    if (!CAJA_IS_FILE_INFO(file))
        return NULL;
    CajaFileInfo* info = CAJA_FILE_INFO(file);
    return pallstone_local_uri(caja_file_info_get_uri(info),
                               caja_file_info_get_activation_uri(info));
}

/* Caja asks for the items again when one is chosen and fires only an item whose name it finds in
 * the new list: the names stay the same for the same entry (pallstone_row_name). */
static GObject* new_item(const PallstoneRow* row)
{
    /* Caja has no separators: one with text becomes an entry that cannot be chosen; a plain one
     * is left out. */
    if (row->separator && !*row->title)
        return NULL;
    char* name = pallstone_row_name(row);
    char* label = pallstone_gtk_label(row->title);
    CajaMenuItem* item = caja_menu_item_new(name, label, "", row->icon);
    if (row->separator)
        g_object_set(item, "sensitive", FALSE, NULL);
    g_free(label);
    g_free(name);
    return G_OBJECT(item);
}

static void append_item(GObject* parent, GObject* child)
{
    CajaMenu* submenu = NULL;
    g_object_get(parent, "menu", &submenu, NULL);
    if (!submenu) {
        submenu = caja_menu_new();
        caja_menu_item_set_submenu(CAJA_MENU_ITEM(parent), submenu);
    }
    caja_menu_append_item(submenu, CAJA_MENU_ITEM(child));
    g_object_unref(submenu);
}

static GList* get_file_items(CajaMenuProvider* provider, GtkWidget* window, GList* files)
{
    (void)provider;
    return pallstone_items_for_selection(files, window, local_uri, new_item, append_item);
}

static GList* get_background_items(CajaMenuProvider* provider, GtkWidget* window,
                                   CajaFileInfo* folder)
{
    (void)provider;
    return pallstone_items_for_folder(folder, window, local_uri, new_item, append_item);
}

PALLSTONE_DEFINE_MODULE_PROVIDER(caja, CAJA_TYPE_MENU_PROVIDER, CajaMenuProviderIface,
                                 iface->get_file_items = get_file_items;
                                 iface->get_background_items = get_background_items;
                                 pallstone_bridge_set_reload(pallstone_reload_by_signal);)
