/*
 * The Nautilus bridge: shows the menu the Pallstone extension service builds for the selection
 * and hands the chosen entry back to it. No menu logic lives here; the contract is the D-Bus
 * interface com.tolvane.pallstone.ContextMenu.
 *
 * Nautilus asks for menus on its UI thread, so every call here is bounded by a short timeout and
 * never starts the service on the way: a service that is missing, crashed or hung costs at most
 * one timeout and shows no entries, and it is started in the background for next time.
 */
#include <nautilus-extension.h>

#include <gio/gio.h>
#include <string.h>

#define PALLSTONE_BUS_NAME "com.tolvane.pallstone.extension"
#define PALLSTONE_OBJECT_PATH "/com/tolvane/pallstone/ContextMenu"
#define PALLSTONE_INTERFACE "com.tolvane.pallstone.ContextMenu"

#define KIND_ITEMS 0u
#define KIND_BACKGROUND 1u

/* The longest Nautilus may wait for a menu. */
#define CALL_TIMEOUT_MS 250
/* After a timed-out call the service is presumed hung: later menus skip it for this long instead
 * of costing Nautilus another timeout on every selection change. */
#define QUIET_AFTER_TIMEOUT_US (2 * G_USEC_PER_SEC)
/* More rows than any menu has (99 entries a level): a reply beyond it is not ours to trust. */
#define MAX_ROWS 20000

typedef struct
{
    GObject parent;
} PallstoneMenuProvider;

typedef struct
{
    GObjectClass parent_class;
} PallstoneMenuProviderClass;

GType pallstone_menu_provider_get_type(void);
static void pallstone_menu_provider_iface_init(NautilusMenuProviderInterface* iface);

G_DEFINE_DYNAMIC_TYPE_EXTENDED(PallstoneMenuProvider, pallstone_menu_provider, G_TYPE_OBJECT, 0,
                               G_IMPLEMENT_INTERFACE_DYNAMIC(NAUTILUS_TYPE_MENU_PROVIDER,
                                                             pallstone_menu_provider_iface_init))

static GDBusConnection* session_bus;
static gboolean bus_requested;
static gint64 quiet_until;
static GType provider_types[1];

/* What an item needs to hand its entry back: the menu it came from, what it showed, and the
 * inputs that menu was built from (for a service that started again since). */
typedef struct
{
    guint64 menu_id;
    gint64 tag;
    char* key;
    guint kind;
    GStrv uris;
    char* target;
} Activation;

static void activation_free(gpointer data)
{
    Activation* activation = data;
    g_free(activation->key);
    g_strfreev(activation->uris);
    g_free(activation->target);
    g_free(activation);
}

static void on_service_started(GObject* source, GAsyncResult* result, gpointer user_data)
{
    (void)user_data;
    GError* error = NULL;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
    if (reply)
        g_variant_unref(reply);
    else {
        g_debug("pallstone: the extension service could not be started: %s", error->message);
        g_error_free(error);
    }
}

/* Asks the bus to activate the service; returns at once. Asking while it starts or runs is
 * harmless (the bus answers "already running"), so every failed menu asks again rather than
 * trusting the answer to an earlier request that may predate the service's end. */
static void start_service(void)
{
    if (!session_bus)
        return;
    g_dbus_connection_call(session_bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                           "org.freedesktop.DBus", "StartServiceByName",
                           g_variant_new("(su)", PALLSTONE_BUS_NAME, 0u), G_VARIANT_TYPE("(u)"),
                           G_DBUS_CALL_FLAGS_NONE, -1, NULL, on_service_started, NULL);
}

static void on_bus_ready(GObject* source, GAsyncResult* result, gpointer user_data)
{
    (void)source;
    (void)user_data;
    GError* error = NULL;
    GDBusConnection* connection = g_bus_get_finish(result, &error);
    bus_requested = FALSE;
    if (!connection) {
        g_debug("pallstone: no session bus: %s", error->message);
        g_error_free(error);
        return;
    }
    g_clear_object(&session_bus);
    session_bus = connection;
    start_service();
}

/* The session bus when it is connected; otherwise asks for it (in the background) and gives
 * nothing this time. */
static GDBusConnection* bus(void)
{
    if (session_bus && !g_dbus_connection_is_closed(session_bus))
        return session_bus;
    if (!bus_requested) {
        bus_requested = TRUE;
        g_bus_get(G_BUS_TYPE_SESSION, NULL, on_bus_ready, NULL);
    }
    return NULL;
}

/* A file:// URI for the item, or NULL: items of virtual locations (recent, starred, search
 * results) are used through the file they stand for, and others get no menu. */
static char* local_uri(NautilusFileInfo* info)
{
    char* uri = nautilus_file_info_get_uri(info);
    if (uri && g_str_has_prefix(uri, "file:///"))
        return uri;
    g_free(uri);
    uri = nautilus_file_info_get_activation_uri(info);
    if (uri && g_str_has_prefix(uri, "file:///"))
        return uri;
    g_free(uri);
    return NULL;
}

static GVariant* menu_for(guint kind, const char* const* uris, const char* target)
{
    if (g_get_monotonic_time() < quiet_until)
        return NULL;
    GDBusConnection* connection = bus();
    if (!connection)
        return NULL;

    GError* error = NULL;
    GVariant* reply = g_dbus_connection_call_sync(
        connection, PALLSTONE_BUS_NAME, PALLSTONE_OBJECT_PATH, PALLSTONE_INTERFACE,
        "MenuForMenuKind", g_variant_new("(u^ass)", kind, uris, target ? target : ""),
        G_VARIANT_TYPE("(ta(iixsssb))"), G_DBUS_CALL_FLAGS_NO_AUTO_START, CALL_TIMEOUT_MS, NULL,
        &error);
    if (reply)
        return reply;

    if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT))
        quiet_until = g_get_monotonic_time() + QUIET_AFTER_TIMEOUT_US;
    /* The service refused these inputs: it is running, nothing to start. */
    if (!g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_INVALID_ARGS))
        start_service();
    g_debug("pallstone: no menu: %s", error->message);
    g_error_free(error);
    return NULL;
}

static void on_action_sent(GObject* source, GAsyncResult* result, gpointer user_data)
{
    (void)user_data;
    GError* error = NULL;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
    if (reply)
        g_variant_unref(reply);
    else {
        g_warning("pallstone: the entry could not be carried out: %s", error->message);
        g_error_free(error);
    }
}

static void on_item_activated(NautilusMenuItem* item, gpointer user_data)
{
    (void)user_data;
    const Activation* activation = g_object_get_data(G_OBJECT(item), "pallstone-activation");
    if (!activation || !session_bus)
        return;
    /* Fire and forget: the service answers before the action starts, and may be started by this
     * call if it ended since the menu was built. */
    g_dbus_connection_call(
        session_bus, PALLSTONE_BUS_NAME, PALLSTONE_OBJECT_PATH, PALLSTONE_INTERFACE,
        "OnMenuItemAction",
        g_variant_new("(txsu^ass)", (guint64)activation->menu_id, (gint64)activation->tag,
                      activation->key, activation->kind, (const char* const*)activation->uris,
                      activation->target ? activation->target : ""),
        G_VARIANT_TYPE_UNIT, G_DBUS_CALL_FLAGS_NONE, 10000, NULL, on_action_sent, NULL);
}

/* GTK reads an underscore in a menu label as a mnemonic; file names are shown as they are. */
static char* menu_label(const char* title)
{
    GString* label = g_string_sized_new(strlen(title) + 4);
    for (const char* c = title; *c; ++c) {
        if (*c == '_')
            g_string_append_c(label, '_');
        g_string_append_c(label, *c);
    }
    return g_string_free(label, FALSE);
}

typedef struct
{
    NautilusMenuItem* item; /* borrowed: owned by its menu or by the top-level list */
    NautilusMenu* submenu;  /* created when the first child arrives */
    gboolean separator;
} Row;

static void row_free(gpointer data)
{
    Row* row = data;
    if (row->submenu)
        g_object_unref(row->submenu);
    g_free(row);
}

/* Turns the service's flat rows into Nautilus items. Rows that do not fit the contract (unknown
 * or later parent, a parent that is a separator, a repeated id) are left out, never trusted. */
static GList* items_from_reply(GVariant* reply, guint kind, const char* const* uris,
                               const char* target)
{
    guint64 menu_id = 0;
    g_variant_get_child(reply, 0, "t", &menu_id);
    GVariant* rows = g_variant_get_child_value(reply, 1);
    GHashTable* byId = g_hash_table_new_full(g_direct_hash, g_direct_equal, NULL, row_free);
    GList* top = NULL;
    const gsize count = MIN(g_variant_n_children(rows), (gsize)MAX_ROWS);

    for (gsize i = 0; i < count; ++i) {
        gint32 id = 0, parentId = 0;
        gint64 tag = 0;
        const char *key = NULL, *title = NULL, *icon = NULL;
        gboolean separator = FALSE;
        g_variant_get_child(rows, i, "(iix&s&s&sb)", &id, &parentId, &tag, &key, &title, &icon,
                            &separator);
        if (id < 0 || g_hash_table_contains(byId, GINT_TO_POINTER(id)))
            continue;
        Row* parent = NULL;
        if (parentId != -1) {
            parent = g_hash_table_lookup(byId, GINT_TO_POINTER(parentId));
            if (!parent || parent->separator || !parent->item)
                continue;
        }

        NautilusMenuItem* item = NULL;
        if (separator) {
            /* Nautilus has no separators: one with text becomes an entry that cannot be chosen;
             * a plain one is left out. */
            if (*title) {
                char* name = g_strdup_printf("Pallstone::separator::%d", id);
                char* label = menu_label(title);
                item = nautilus_menu_item_new(name, label, NULL, NULL);
                g_object_set(item, "sensitive", FALSE, NULL);
                g_free(label);
                g_free(name);
            }
        } else if (tag > 0 && *title) {
            char* name = g_strdup_printf("Pallstone::%" G_GINT64_FORMAT, tag);
            char* label = menu_label(title);
            item = nautilus_menu_item_new(name, label, NULL, *icon ? icon : NULL);
            g_free(label);
            g_free(name);
            Activation* activation = g_new0(Activation, 1);
            activation->menu_id = menu_id;
            activation->tag = tag;
            activation->key = g_strdup(key);
            activation->kind = kind;
            activation->uris = g_strdupv((char**)uris);
            activation->target = g_strdup(target);
            g_object_set_data_full(G_OBJECT(item), "pallstone-activation", activation,
                                   activation_free);
            g_signal_connect(item, "activate", G_CALLBACK(on_item_activated), NULL);
        }

        Row* row = g_new0(Row, 1);
        row->item = item;
        row->separator = separator;
        g_hash_table_insert(byId, GINT_TO_POINTER(id), row);
        if (!item)
            continue;
        if (!parent) {
            top = g_list_prepend(top, item);
            continue;
        }
        if (!parent->submenu) {
            parent->submenu = nautilus_menu_new();
            nautilus_menu_item_set_submenu(parent->item, parent->submenu);
        }
        nautilus_menu_append_item(parent->submenu, item);
        g_object_unref(item);
    }

    g_hash_table_destroy(byId);
    g_variant_unref(rows);
    return g_list_reverse(top);
}

static GList* items_for(guint kind, const char* const* uris, const char* target)
{
    GVariant* reply = menu_for(kind, uris, target);
    if (!reply)
        return NULL;
    GList* items = items_from_reply(reply, kind, uris, target);
    g_variant_unref(reply);
    return items;
}

static GList* get_file_items(NautilusMenuProvider* provider, GList* files)
{
    (void)provider;
    if (!files)
        return NULL;
    GPtrArray* uris = g_ptr_array_new_with_free_func(g_free);
    for (GList* l = files; l; l = l->next) {
        char* uri = NAUTILUS_IS_FILE_INFO(l->data) ? local_uri(l->data) : NULL;
        if (!uri) {
            g_ptr_array_free(uris, TRUE);
            return NULL;
        }
        g_ptr_array_add(uris, uri);
    }
    g_ptr_array_add(uris, NULL);

    char* target = NULL;
    GFile* first = g_file_new_for_uri(g_ptr_array_index(uris, 0));
    GFile* folder = g_file_get_parent(first);
    if (folder)
        target = g_file_get_uri(folder);
    g_clear_object(&folder);
    g_object_unref(first);

    GList* items = items_for(KIND_ITEMS, (const char* const*)uris->pdata, target);
    g_free(target);
    g_ptr_array_free(uris, TRUE);
    return items;
}

static GList* get_background_items(NautilusMenuProvider* provider, NautilusFileInfo* folder)
{
    (void)provider;
    if (!NAUTILUS_IS_FILE_INFO(folder))
        return NULL;
    char* target = local_uri(folder);
    if (!target)
        return NULL;
    const char* none[] = {NULL};
    GList* items = items_for(KIND_BACKGROUND, none, target);
    g_free(target);
    return items;
}

static void pallstone_menu_provider_iface_init(NautilusMenuProviderInterface* iface)
{
    iface->get_file_items = get_file_items;
    iface->get_background_items = get_background_items;
}

static void pallstone_menu_provider_init(PallstoneMenuProvider* self)
{
    (void)self;
}

static void pallstone_menu_provider_class_init(PallstoneMenuProviderClass* klass)
{
    (void)klass;
}

static void pallstone_menu_provider_class_finalize(PallstoneMenuProviderClass* klass)
{
    (void)klass;
}

G_MODULE_EXPORT void nautilus_module_initialize(GTypeModule* module)
{
    pallstone_menu_provider_register_type(module);
    provider_types[0] = pallstone_menu_provider_get_type();
    /* Connects in the background and then starts the service, so the first menu finds it. */
    bus();
}

G_MODULE_EXPORT void nautilus_module_shutdown(void)
{
    g_clear_object(&session_bus);
}

G_MODULE_EXPORT void nautilus_module_list_types(const GType** types, int* num_types)
{
    *types = provider_types;
    *num_types = G_N_ELEMENTS(provider_types);
}
