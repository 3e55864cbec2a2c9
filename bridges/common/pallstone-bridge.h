/*
 * What every bridge shares: the D-Bus client of the extension service, the checks a reply must
 * pass before a row becomes a menu item, and the quiet period after a hung service. Compiled into
 * each bridge, so the rules that keep a file manager responsive are written once.
 */
#pragma once

#include <gio/gio.h>

G_BEGIN_DECLS

#define PALLSTONE_BUS_NAME "com.tolvane.pallstone.extension"

#define PALLSTONE_KIND_ITEMS 0u
#define PALLSTONE_KIND_BACKGROUND 1u

/* One entry of a menu, checked against the contract. Strings are borrowed from the menu. */
typedef struct
{
    gint32 id;
    gint parent; /* index of the row whose submenu holds this one, -1 on the top level */
    gint64 tag;  /* 0 for separators */
    const char* key;
    const char* title;
    const char* icon; /* a theme icon name or an absolute path, NULL for none */
    gboolean separator;
    /* Holds other rows. Nemo, Caja and Thunar fire "activate" on such an item when its submenu
     * opens, so it never carries out anything. */
    gboolean opens_submenu;
} PallstoneRow;

/* A menu as the service sent it, with the inputs it was built from (reference counted: every
 * item that can hand its entry back keeps one). */
typedef struct
{
    guint64 id;
    guint kind;
    GStrv uris;
    char* target;
    GVariant* reply;
    PallstoneRow* rows;
    guint n_rows;
    gint refcount;
} PallstoneMenu;

/* Connects to the session bus in the background and then starts the service, so the first menu
 * finds it. file_manager names the file manager for its switch in the settings application
 * ("nemo", ...). */
void pallstone_bridge_init(const char* file_manager);
void pallstone_bridge_shutdown(void);

/* The menu for these inputs, or NULL for no entries: switched off, service missing (and not
 * started in time), hung, or answering out of contract. Returns within the bound whatever the
 * service does. */
PallstoneMenu* pallstone_bridge_menu(guint kind, const char* const* uris, const char* target);
/* Why the last menu had no entries, for a file manager that asks for some menus only once: it
 * can be told to ask again when the service is there (it was started, but not in time) or when a
 * slow one may answer. */
typedef enum
{
    PALLSTONE_ANSWERED,        /* entries, none to show, or not asked (switched off) */
    PALLSTONE_SERVICE_MISSING, /* not on the bus within the bound */
    PALLSTONE_SERVICE_SLOW     /* on the bus, but no answer within the bound */
} PallstoneOutcome;
PallstoneOutcome pallstone_bridge_last_outcome(void);
PallstoneMenu* pallstone_menu_ref(PallstoneMenu* menu);
void pallstone_menu_unref(PallstoneMenu* menu);

/* Hands the chosen row back to the service (nothing for a row that opens a submenu); returns at
 * once. */
void pallstone_menu_activate(const PallstoneMenu* menu, guint row);

/* The item name a file manager sees: the same for the same entry in every call. */
char* pallstone_row_name(const PallstoneRow* row);
/* GTK reads an underscore in a label as a mnemonic; titles are shown as they are. */
char* pallstone_gtk_label(const char* title);

/* The file:// URI among these, or NULL: items of virtual locations are used through the file they
 * stand for, and others get no menu. Takes both strings. */
char* pallstone_local_uri(char* uri, char* activation_uri);

/* How a GTK bridge makes its items: new_item makes the item of a row (NULL leaves it out) and
 * append puts a child into a parent item's submenu. Items of entries without a submenu are
 * connected to their "activate" signal. */
typedef GObject* (*PallstoneNewItem)(const PallstoneRow* row);
typedef void (*PallstoneAppendItem)(GObject* parent, GObject* child);

/* The local file:// URI of one of the file manager's file objects, or NULL (not such an object, or
 * not a local item). */
typedef char* (*PallstoneUriOf)(gpointer file);

/* Asks for the menu and builds it: the whole of a GTK bridge's menu call. The menu of the selected
 * files (nothing when one has no local URI) targets the folder of the first; the background menu,
 * the folder. window is the one the menu is for (NULL when the file manager does not say): it is
 * handed to the reload function. Returns the top-level items, owned by the caller. */
GList* pallstone_items_for_selection(GList* files, gpointer window, PallstoneUriOf uri_of,
                                     PallstoneNewItem new_item, PallstoneAppendItem append);
GList* pallstone_items_for_folder(gpointer folder, gpointer window, PallstoneUriOf uri_of,
                                  PallstoneNewItem new_item, PallstoneAppendItem append);

/* Shows the folder of the window afresh, as the file manager's own Reload does (window may be
 * NULL, or gone by then).
 *
 * An entry that hides or shows items changes the folder's ".hidden" list, and the service then
 * changes the items' status-change times, so that file managers look at them again. That is not
 * enough: GLib reads a folder's list once and answers from it for five seconds and more, Nemo and
 * Caja never drop an item that changed into a hidden one, Thunar sorts items into shown and hidden
 * only when hidden items are switched on or off, and Nautilus does not show an item that left
 * the list. A bridge that sets this function gets it called when, after one of its entries ran,
 * the target folder's list changed and GLib (in this process) answers from the new list. */
typedef void (*PallstoneReload)(gpointer window);
void pallstone_bridge_set_reload(PallstoneReload reload);
/* The reload of Nemo's and Caja's windows: their own Reload (F5) key-binding signal, looked up by
 * name so that a window without it is left alone. */
void pallstone_reload_by_signal(gpointer window);

/* The menu provider of a file manager whose modules export <prefix>_module_initialize, _shutdown
 * and _list_types (Nautilus and its forks Nemo and Caja): the provider type, registered with the
 * module, and those three functions. The last arguments fill the provider's interface, e.g.
 * `iface->get_file_items = get_file_items;`. */
#define PALLSTONE_DEFINE_MODULE_PROVIDER(prefix, PROVIDER_TYPE, ProviderIface, ...)                      \
    typedef struct                                                                                       \
    {                                                                                                    \
        GObject parent;                                                                                  \
    } PallstoneMenuProvider;                                                                             \
    typedef struct                                                                                       \
    {                                                                                                    \
        GObjectClass parent_class;                                                                       \
    } PallstoneMenuProviderClass;                                                                        \
    GType pallstone_menu_provider_get_type(void);                                                        \
    static void pallstone_menu_provider_iface_init(ProviderIface* iface){                                \
        __VA_ARGS__} G_DEFINE_DYNAMIC_TYPE_EXTENDED(PallstoneMenuProvider,                               \
                                                    pallstone_menu_provider, G_TYPE_OBJECT, 0,           \
                                                    G_IMPLEMENT_INTERFACE_DYNAMIC(                       \
                                                        PROVIDER_TYPE,                                   \
                                                        pallstone_menu_provider_iface_init)) static void \
    pallstone_menu_provider_init(PallstoneMenuProvider* self)                                            \
    {                                                                                                    \
        (void)self;                                                                                      \
    }                                                                                                    \
    static void pallstone_menu_provider_class_init(PallstoneMenuProviderClass* klass)                    \
    {                                                                                                    \
        (void)klass;                                                                                     \
    }                                                                                                    \
    static void pallstone_menu_provider_class_finalize(PallstoneMenuProviderClass* klass)                \
    {                                                                                                    \
        (void)klass;                                                                                     \
    }                                                                                                    \
    static GType provider_types[1];                                                                      \
    G_MODULE_EXPORT void prefix##_module_initialize(GTypeModule* module)                                 \
    {                                                                                                    \
        pallstone_menu_provider_register_type(module);                                                   \
        provider_types[0] = pallstone_menu_provider_get_type();                                          \
        pallstone_bridge_init(#prefix);                                                                  \
    }                                                                                                    \
    G_MODULE_EXPORT void prefix##_module_shutdown(void)                                                  \
    {                                                                                                    \
        pallstone_bridge_shutdown();                                                                     \
    }                                                                                                    \
    G_MODULE_EXPORT void prefix##_module_list_types(const GType** types, int* num_types)                 \
    {                                                                                                    \
        *types = provider_types;                                                                         \
        *num_types = G_N_ELEMENTS(provider_types);                                                       \
    }

G_END_DECLS
