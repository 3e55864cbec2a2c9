/*
 * The Nemo bridge: shows the menu the Pallstone extension service builds for the selection and
 * hands the chosen entry back to it (pallstone-bridge.c holds the rules every bridge keeps).
 */
#include "pallstone-bridge.h"

#include <libnemo-extension/nemo-extension-types.h>
#include <libnemo-extension/nemo-file-info.h>
#include <libnemo-extension/nemo-menu-provider.h>

static char* local_uri(gpointer file)
{
    if (!NEMO_IS_FILE_INFO(file))
        return NULL;
    NemoFileInfo* info = NEMO_FILE_INFO(file);
    return pallstone_local_uri(nemo_file_info_get_uri(info),
                               nemo_file_info_get_activation_uri(info));
}

static GObject* new_item(const PallstoneRow* row)
{
    char* name = pallstone_row_name(row);
    NemoMenuItem* item = NULL;
    if (row->separator && !*row->title) {
        item = nemo_menu_item_new_separator(name);
    } else {
        /* A separator with text stays as an entry that cannot be chosen, so its text shows. */
        char* label = pallstone_gtk_label(row->title);
        item = nemo_menu_item_new(name, label, "", row->icon);
        if (row->separator)
            g_object_set(item, "sensitive", FALSE, NULL);
        g_free(label);
    }
    g_free(name);
    return G_OBJECT(item);
}

static void append_item(GObject* parent, GObject* child)
{
    NemoMenu* submenu = NULL;
    g_object_get(parent, "menu", &submenu, NULL);
    if (!submenu) {
        submenu = nemo_menu_new();
        nemo_menu_item_set_submenu(NEMO_MENU_ITEM(parent), submenu);
    }
    nemo_menu_append_item(submenu, NEMO_MENU_ITEM(child));
    g_object_unref(submenu);
}

static GList* get_file_items(NemoMenuProvider* provider, GtkWidget* window, GList* files)
{
    (void)provider;
    (void)window;
    return pallstone_items_for_selection(files, local_uri, new_item, append_item);
}

static GList* get_background_items(NemoMenuProvider* provider, GtkWidget* window,
                                   NemoFileInfo* folder)
{
    (void)provider;
    (void)window;
    return pallstone_items_for_folder(folder, local_uri, new_item, append_item);
}

PALLSTONE_DEFINE_MODULE_PROVIDER(nemo, NEMO_TYPE_MENU_PROVIDER, NemoMenuProviderIface,
                                 iface->get_file_items = get_file_items;
                                 iface->get_background_items = get_background_items;)
