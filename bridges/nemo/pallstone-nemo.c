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
    return pallstone_items_for_selection(files, window, local_uri, new_item, append_item);
}

/* Nemo asks for a folder's background items once, when the folder loads, and keeps them until
 * the folder is loaded again. When the service was not there in time, or too slow, Nemo is told
 * once that the items changed: as soon as the service takes its name, or after the quiet period
 * that follows a timeout. */
#define ASK_AGAIN_AFTER_SLOW_MS 2500

static guint service_watch;
static guint ask_again_source;
static gboolean asked_again; /* since the last answer: a service that stays away is not chased */

static void ask_again(gpointer provider)
{
    asked_again = TRUE;
    nemo_menu_provider_emit_items_updated_signal(NEMO_MENU_PROVIDER(provider));
}

static void on_service_appeared(GDBusConnection* connection, const char* name, const char* owner,
                                gpointer provider)
{
    (void)connection;
    (void)name;
    (void)owner;
    g_bus_unwatch_name(service_watch);
    service_watch = 0;
    ask_again(provider);
}

static gboolean on_quiet_period_over(gpointer provider)
{
    ask_again_source = 0;
    ask_again(provider);
    return G_SOURCE_REMOVE;
}

static GList* get_background_items(NemoMenuProvider* provider, GtkWidget* window,
                                   NemoFileInfo* folder)
{
    GList* items = pallstone_items_for_folder(folder, window, local_uri, new_item, append_item);
    const PallstoneOutcome outcome = pallstone_bridge_last_outcome();
    if (items || outcome == PALLSTONE_ANSWERED) {
        asked_again = FALSE;
        return items;
    }
    if (asked_again || service_watch || ask_again_source)
        return items;
    if (outcome == PALLSTONE_SERVICE_MISSING) {
        service_watch =
            g_bus_watch_name(G_BUS_TYPE_SESSION, PALLSTONE_BUS_NAME, G_BUS_NAME_WATCHER_FLAGS_NONE,
                             on_service_appeared, NULL, g_object_ref(provider), g_object_unref);
    } else {
        ask_again_source =
            g_timeout_add_full(G_PRIORITY_DEFAULT, ASK_AGAIN_AFTER_SLOW_MS, on_quiet_period_over,
                               g_object_ref(provider), g_object_unref);
    }
    return items;
}

PALLSTONE_DEFINE_MODULE_PROVIDER(nemo, NEMO_TYPE_MENU_PROVIDER, NemoMenuProviderIface,
                                 iface->get_file_items = get_file_items;
                                 iface->get_background_items = get_background_items;
                                 pallstone_bridge_set_reload(pallstone_reload_by_signal);)
