/*
 * The Thunar bridge: shows the menu the Pallstone extension service builds for the selection (the
 * file menu) or for a folder (the folder menu: the view's background, a folder in the side pane)
 * and hands the chosen entry back to it (pallstone-bridge.c holds the rules every bridge keeps).
 */
#include "pallstone-bridge.h"

#include <thunarx/thunarx.h>

typedef struct
{
    GObject parent;
} PallstoneMenuProvider;

typedef struct
{
    GObjectClass parent_class;
} PallstoneMenuProviderClass;

GType pallstone_menu_provider_get_type(void);
void pallstone_menu_provider_register_type(ThunarxProviderPlugin* plugin);
static void pallstone_menu_provider_iface_init(ThunarxMenuProviderIface* iface);

THUNARX_DEFINE_TYPE_WITH_CODE(PallstoneMenuProvider, pallstone_menu_provider, G_TYPE_OBJECT,
                              THUNARX_IMPLEMENT_INTERFACE(THUNARX_TYPE_MENU_PROVIDER,
                                                          pallstone_menu_provider_iface_init))

static GType provider_types[1];

/* What Thunar looks up in the module. */
G_MODULE_EXPORT void thunar_extension_initialize(ThunarxProviderPlugin* plugin);
G_MODULE_EXPORT void thunar_extension_shutdown(void);
G_MODULE_EXPORT void thunar_extension_list_types(const GType** types, gint* n_types);

static char* local_uri(gpointer file)
{
    if (!THUNARX_IS_FILE_INFO(file))
        return NULL;
    ThunarxFileInfo* info = THUNARX_FILE_INFO(file);
    return pallstone_local_uri(thunarx_file_info_get_uri(info), NULL);
}

/* Thunar keeps every item name in its accelerator map beside its own actions: the names carry
 * the "Pallstone::" namespace (pallstone_row_name). */
static GObject* new_item(const PallstoneRow* row)
{
    /* Thunar draws no separators between an extension's items: one with text becomes an entry
     * that cannot be chosen; a plain one is left out. */
    if (row->separator && !*row->title)
        return NULL;
    char* name = pallstone_row_name(row);
    char* label = pallstone_gtk_label(row->title);
    ThunarxMenuItem* item = thunarx_menu_item_new(name, label, NULL, row->icon);
    if (row->separator)
        thunarx_menu_item_set_sensitive(item, FALSE);
    g_free(label);
    g_free(name);
    return G_OBJECT(item);
}

static void append_item(GObject* parent, GObject* child)
{
    ThunarxMenu* submenu = NULL;
    g_object_get(parent, "menu", &submenu, NULL);
    if (!submenu) {
        submenu = thunarx_menu_new();
        thunarx_menu_item_set_menu(THUNARX_MENU_ITEM(parent), submenu);
    }
    thunarx_menu_append_item(submenu, THUNARX_MENU_ITEM(child));
    g_object_unref(submenu);
}

/* Thunar splits a view into shown and hidden items when hidden items are switched on or off,
 * and nowhere else: its own Reload keeps an item that became hidden. Switching them twice, through
 * the accelerator the window gives the action (whatever the user made it), splits the view again;
 * extensions have no other way to it. */
static void reload(gpointer window)
{
    GtkAccelKey key = {0};
    if (!GTK_IS_WINDOW(window) ||
        !gtk_accel_map_lookup_entry("<Actions>/ThunarWindow/show-hidden", &key) || !key.accel_key)
        return;
    if (gtk_accel_groups_activate(G_OBJECT(window), key.accel_key, key.accel_mods))
        gtk_accel_groups_activate(G_OBJECT(window), key.accel_key, key.accel_mods);
}

static GList* get_file_menu_items(ThunarxMenuProvider* provider, GtkWidget* window, GList* files)
{
    (void)provider;
    return pallstone_items_for_selection(files, window, local_uri, new_item, append_item);
}

static GList* get_folder_menu_items(ThunarxMenuProvider* provider, GtkWidget* window,
                                    ThunarxFileInfo* folder)
{
    (void)provider;
    return pallstone_items_for_folder(folder, window, local_uri, new_item, append_item);
}

static void pallstone_menu_provider_iface_init(ThunarxMenuProviderIface* iface)
{
    iface->get_file_menu_items = get_file_menu_items;
    iface->get_folder_menu_items = get_folder_menu_items;
}

static void pallstone_menu_provider_init(PallstoneMenuProvider* self)
{
    (void)self;
}

static void pallstone_menu_provider_class_init(PallstoneMenuProviderClass* klass)
{
    (void)klass;
}

G_MODULE_EXPORT void thunar_extension_initialize(ThunarxProviderPlugin* plugin)
{
    const char* mismatch =
        thunarx_check_version(THUNARX_MAJOR_VERSION, THUNARX_MINOR_VERSION, THUNARX_MICRO_VERSION);
    if (mismatch) {
        g_warning("pallstone: this Thunar cannot load the bridge: %s", mismatch);
        return;
    }
    /* The bridge's thread and types cannot be unloaded safely. */
    thunarx_provider_plugin_set_resident(plugin, TRUE);
    pallstone_menu_provider_register_type(plugin);
    provider_types[0] = pallstone_menu_provider_get_type();
    pallstone_bridge_set_reload(reload);
    pallstone_bridge_init("thunar");
}

G_MODULE_EXPORT void thunar_extension_shutdown(void)
{
    pallstone_bridge_shutdown();
}

G_MODULE_EXPORT void thunar_extension_list_types(const GType** types, gint* n_types)
{
    *types = provider_types;
    *n_types = provider_types[0] ? (gint)G_N_ELEMENTS(provider_types) : 0;
}
