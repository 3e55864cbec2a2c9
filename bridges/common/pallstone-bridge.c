/*
 * File managers ask for menus on their UI thread, so every call here is bounded by a short
 * deadline: a service that is missing, crashed or hung costs at most one deadline and shows no
 * entries. A service that is not on the bus is started and waited for within that deadline; one
 * that does not make it is still starting for next time. No menu logic lives here; the contract is
 * the D-Bus interface com.tolvane.pallstone.ContextMenu.
 */
#include "pallstone-bridge.h"

#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>

#define PALLSTONE_OBJECT_PATH "/com/tolvane/pallstone/ContextMenu"
#define PALLSTONE_INTERFACE "com.tolvane.pallstone.ContextMenu"

/* The longest a file manager may wait for a menu, connecting to the bus included. */
#define CALL_TIMEOUT_MS 250
/* After a timed-out call the service is presumed hung: later menus skip it for this long instead
 * of costing the file manager another timeout on every selection change. */
#define QUIET_AFTER_TIMEOUT_US (2 * G_USEC_PER_SEC)
/* More rows than any menu has (99 entries a level): a reply beyond it is not ours to trust. */
#define MAX_ROWS 20000

/* The connection is made on a thread of its own, so that it needs no main loop (Dolphin's is
 * Qt's) and a file manager that asks before it is ready waits at most until the deadline. */
static GMutex bus_lock;
static GCond bus_changed;
static GDBusConnection* session_bus; /* guarded by bus_lock */
static gboolean connecting;          /* guarded by bus_lock */

static gint64 quiet_until;
static char* switch_path;

/* The settings application switches Pallstone off for one file manager by leaving a file named
 * after it in the configuration folder: one stat per menu, and nothing to parse. */
static gboolean switched_off(void)
{
    return switch_path && g_file_test(switch_path, G_FILE_TEST_EXISTS);
}

/* Asks the bus to activate the service; returns at once. Asking while it starts or runs is
 * harmless (the bus answers "already running"), so every failed menu asks again rather than
 * trusting the answer to an earlier request that may predate the service's end. */
static void start_service(GDBusConnection* connection)
{
    g_dbus_connection_call(connection, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                           "org.freedesktop.DBus", "StartServiceByName",
                           g_variant_new("(su)", PALLSTONE_BUS_NAME, 0u), NULL,
                           G_DBUS_CALL_FLAGS_NONE, -1, NULL, NULL, NULL);
}

/* A PallstoneOutcome: read by bridges that can ask the file manager for a menu again. */
static gint last_outcome;

/* Starts the service and waits, until the deadline, for it to take its name: the bus answers
 * once it has (at once when it is already there). FALSE when it is not there by then. */
static gboolean service_started_by(GDBusConnection* connection, gint64 deadline)
{
    const gint remaining = (gint)((deadline - g_get_monotonic_time()) / 1000);
    if (remaining <= 0)
        return FALSE;
    GVariant* reply = g_dbus_connection_call_sync(
        connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "StartServiceByName", g_variant_new("(su)", PALLSTONE_BUS_NAME, 0u), G_VARIANT_TYPE("(u)"),
        G_DBUS_CALL_FLAGS_NONE, remaining, NULL, NULL);
    if (!reply)
        return FALSE;
    g_variant_unref(reply);
    return TRUE;
}

static gpointer connect_main(gpointer data)
{
    (void)data;
    GError* error = NULL;
    GDBusConnection* connection = g_bus_get_sync(G_BUS_TYPE_SESSION, NULL, &error);
    if (connection) {
        if (!switched_off())
            start_service(connection);
    } else {
        g_debug("pallstone: no session bus: %s", error->message);
        g_error_free(error);
    }
    g_mutex_lock(&bus_lock);
    g_clear_object(&session_bus);
    session_bus = connection;
    connecting = FALSE;
    g_cond_broadcast(&bus_changed);
    g_mutex_unlock(&bus_lock);
    return NULL;
}

/* A reference to the session bus, connecting first when needed; NULL when it is not there by the
 * deadline (the connection goes on in the background). */
static GDBusConnection* bus_until(gint64 deadline)
{
    g_mutex_lock(&bus_lock);
    if (session_bus && g_dbus_connection_is_closed(session_bus))
        g_clear_object(&session_bus);
    if (!session_bus && !connecting) {
        connecting = TRUE;
        g_thread_unref(g_thread_new("pallstone-bus", connect_main, NULL));
    }
    while (!session_bus && connecting) {
        if (!g_cond_wait_until(&bus_changed, &bus_lock, deadline))
            break;
    }
    GDBusConnection* connection = session_bus ? g_object_ref(session_bus) : NULL;
    g_mutex_unlock(&bus_lock);
    return connection;
}

void pallstone_bridge_init(const char* file_manager)
{
    if (!switch_path)
        switch_path = g_build_filename(g_get_user_config_dir(), "pallstone", "switched-off",
                                       file_manager, NULL);
    GDBusConnection* connection = bus_until(g_get_monotonic_time());
    g_clear_object(&connection);
}

void pallstone_bridge_shutdown(void)
{
    g_mutex_lock(&bus_lock);
    g_clear_object(&session_bus);
    g_mutex_unlock(&bus_lock);
}

PallstoneMenu* pallstone_menu_ref(PallstoneMenu* menu)
{
    g_atomic_int_inc(&menu->refcount);
    return menu;
}

void pallstone_menu_unref(PallstoneMenu* menu)
{
    if (!menu || !g_atomic_int_dec_and_test(&menu->refcount))
        return;
    g_strfreev(menu->uris);
    g_free(menu->target);
    g_free(menu->rows);
    g_variant_unref(menu->reply);
    g_free(menu);
}

/* Keeps the rows that fit the contract. Rows with an unknown or later parent, a parent that is a
 * separator or was itself left out, a repeated or negative id, an entry without a tag or a title
 * are left out, never trusted. */
static void read_rows(PallstoneMenu* menu)
{
    /* Serialised once, the reply holds every string the rows borrow for as long as it lives. */
    g_variant_get_data(menu->reply);
    g_variant_get_child(menu->reply, 0, "t", &menu->id);
    GVariant* rows = g_variant_get_child_value(menu->reply, 1);
    const gsize count = MIN(g_variant_n_children(rows), (gsize)MAX_ROWS);
    menu->rows = g_new0(PallstoneRow, count ? count : 1);
    /* id -> index + 1 of a row that can hold children, or 0 for one that cannot. */
    GHashTable* byId = g_hash_table_new(g_direct_hash, g_direct_equal);

    for (gsize i = 0; i < count; ++i) {
        PallstoneRow row = {0};
        gint32 parentId = 0;
        g_variant_get_child(rows, i, "(iix&s&s&sb)", &row.id, &parentId, &row.tag, &row.key,
                            &row.title, &row.icon, &row.separator);
        if (row.id < 0 || g_hash_table_contains(byId, GINT_TO_POINTER(row.id)))
            continue;
        row.parent = -1;
        if (parentId != -1) {
            const gint holder =
                GPOINTER_TO_INT(g_hash_table_lookup(byId, GINT_TO_POINTER(parentId)));
            if (holder <= 0)
                continue;
            row.parent = holder - 1;
        }
        if (!*row.icon)
            row.icon = NULL;
        const gboolean entry = !row.separator && row.tag > 0 && *row.title;
        if (row.separator)
            row.tag = 0;
        if (!entry && !row.separator) {
            g_hash_table_insert(byId, GINT_TO_POINTER(row.id), GINT_TO_POINTER(0));
            continue;
        }
        if (row.parent >= 0)
            menu->rows[row.parent].opens_submenu = TRUE;
        menu->rows[menu->n_rows] = row;
        g_hash_table_insert(byId, GINT_TO_POINTER(row.id),
                            GINT_TO_POINTER(entry ? (gint)menu->n_rows + 1 : 0));
        ++menu->n_rows;
    }
    g_hash_table_destroy(byId);
    g_variant_unref(rows);
}

static GVariant* call_menu(GDBusConnection* connection, guint kind, const char* const* uris,
                           const char* target, gint64 deadline, GError** error)
{
    const gint remaining = (gint)MAX(1, (deadline - g_get_monotonic_time()) / 1000);
    return g_dbus_connection_call_sync(
        connection, PALLSTONE_BUS_NAME, PALLSTONE_OBJECT_PATH, PALLSTONE_INTERFACE,
        "MenuForMenuKind", g_variant_new("(u^ass)", kind, uris, target ? target : ""),
        G_VARIANT_TYPE("(ta(iixsssb))"), G_DBUS_CALL_FLAGS_NO_AUTO_START, remaining, NULL, error);
}

PallstoneOutcome pallstone_bridge_last_outcome(void)
{
    return (PallstoneOutcome)g_atomic_int_get(&last_outcome);
}

PallstoneMenu* pallstone_bridge_menu(guint kind, const char* const* uris, const char* target)
{
    g_atomic_int_set(&last_outcome, PALLSTONE_ANSWERED);
    if (switched_off())
        return NULL;
    const gint64 now = g_get_monotonic_time();
    if (now < quiet_until) {
        g_atomic_int_set(&last_outcome, PALLSTONE_SERVICE_SLOW);
        return NULL;
    }
    const gint64 deadline = now + CALL_TIMEOUT_MS * 1000;
    GDBusConnection* connection = bus_until(deadline);
    if (!connection)
        return NULL;

    GError* error = NULL;
    GVariant* reply = call_menu(connection, kind, uris, target, deadline, &error);
    /* A service that is not on the bus yet (the session is starting, it ended since the last
     * menu, or the file manager came first) is started and waited for within the same bound, so
     * the first menu has its entries. */
    const gboolean missing =
        !reply && (g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_NAME_HAS_NO_OWNER) ||
                   g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_SERVICE_UNKNOWN));
    if (missing && service_started_by(connection, deadline)) {
        g_clear_error(&error);
        reply = call_menu(connection, kind, uris, target, deadline, &error);
    }
    if (!reply) {
        if (missing && !g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT))
            g_atomic_int_set(&last_outcome, PALLSTONE_SERVICE_MISSING);
        else if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT))
            g_atomic_int_set(&last_outcome, PALLSTONE_SERVICE_SLOW);
        /* Only a service that was there and did not answer is presumed hung. */
        if (!missing && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT))
            quiet_until = g_get_monotonic_time() + QUIET_AFTER_TIMEOUT_US;
        /* The service refused these inputs: it is running, nothing to start. */
        if (!g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_INVALID_ARGS))
            start_service(connection);
        g_debug("pallstone: no menu: %s", error->message);
        g_error_free(error);
        g_object_unref(connection);
        return NULL;
    }
    g_object_unref(connection);

    PallstoneMenu* menu = g_new0(PallstoneMenu, 1);
    menu->refcount = 1;
    menu->kind = kind;
    menu->uris = g_strdupv((char**)uris);
    menu->target = g_strdup(target ? target : "");
    menu->reply = reply;
    read_rows(menu);
    if (menu->n_rows == 0) {
        pallstone_menu_unref(menu);
        return NULL;
    }
    return menu;
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

void pallstone_menu_activate(const PallstoneMenu* menu, guint index)
{
    if (!menu || index >= menu->n_rows || menu->rows[index].separator ||
        menu->rows[index].opens_submenu)
        return;
    GDBusConnection* connection = bus_until(g_get_monotonic_time());
    if (!connection)
        return;
    const PallstoneRow* row = &menu->rows[index];
    /* The service answers before the action starts, and is started by this call if it ended
     * since the menu was built. */
    g_dbus_connection_call(
        connection, PALLSTONE_BUS_NAME, PALLSTONE_OBJECT_PATH, PALLSTONE_INTERFACE,
        "OnMenuItemAction",
        g_variant_new("(txsu^ass)", (guint64)menu->id, (gint64)row->tag, row->key, menu->kind,
                      (const char* const*)menu->uris, menu->target),
        G_VARIANT_TYPE_UNIT, G_DBUS_CALL_FLAGS_NONE, 10000, NULL, on_action_sent, NULL);
    g_object_unref(connection);
}

char* pallstone_row_name(const PallstoneRow* row)
{
    return row->separator ? g_strdup_printf("Pallstone::separator::%d", row->id)
                          : g_strdup_printf("Pallstone::%" G_GINT64_FORMAT, row->tag);
}

char* pallstone_gtk_label(const char* title)
{
    GString* label = g_string_sized_new(strlen(title) + 4);
    for (const char* c = title; *c; ++c) {
        if (*c == '_')
            g_string_append_c(label, '_');
        g_string_append_c(label, *c);
    }
    return g_string_free(label, FALSE);
}

char* pallstone_local_uri(char* uri, char* activation_uri)
{
    if (uri && g_str_has_prefix(uri, "file:///")) {
        g_free(activation_uri);
        return uri;
    }
    g_free(uri);
    if (activation_uri && g_str_has_prefix(activation_uri, "file:///"))
        return activation_uri;
    g_free(activation_uri);
    return NULL;
}

/* The folder that holds the item, or NULL at the root. */
static char* parent_uri(const char* uri)
{
    GFile* file = g_file_new_for_uri(uri);
    GFile* folder = g_file_get_parent(file);
    char* parent = folder ? g_file_get_uri(folder) : NULL;
    g_clear_object(&folder);
    g_object_unref(file);
    return parent;
}

/* How long after an entry ran a change of the target folder's ".hidden" list counts as its
 * doing: the service carries out entries on a queue of its own. */
#define HIDDEN_WATCH_MS 10000
/* Changes of the list are taken together once it has been still this long. */
#define HIDDEN_SETTLE_MS 150
/* While GLib still answers from the list it read before, it is asked again this often: it keeps
 * a folder's list for five seconds and some more. */
#define HIDDEN_RETRY_MS 500
/* Time for the file manager to take in the change events of the items before the reload. */
#define ITEMS_SETTLE_MS 500

static PallstoneReload reload_view;

void pallstone_bridge_set_reload(PallstoneReload reload)
{
    reload_view = reload;
}

void pallstone_reload_by_signal(gpointer window)
{
    if (!G_IS_OBJECT(window))
        return;
    const guint signal = g_signal_lookup("reload", G_OBJECT_TYPE(window));
    GSignalQuery query;
    g_signal_query(signal, &query);
    if (signal && query.n_params == 0 && query.return_type == G_TYPE_NONE)
        g_signal_emit(window, signal, 0);
}

/* The names a ".hidden" list holds, one a line, as GLib reads it; NULL when there is no list. */
static GHashTable* hidden_names(GFile* list)
{
    char* contents = NULL;
    if (!g_file_load_contents(list, NULL, &contents, NULL, NULL, NULL))
        return NULL;
    GHashTable* names = g_hash_table_new_full(g_str_hash, g_str_equal, g_free, NULL);
    char** lines = g_strsplit(contents, "\n", 0);
    for (char** line = lines; *line; ++line) {
        if (**line)
            g_hash_table_add(names, *line);
        else
            g_free(*line);
    }
    g_free(lines);
    g_free(contents);
    return names;
}

/* A name the list holds now and did not before, or the other way round; NULL when none. */
static const char* changed_name(GHashTable* before, GHashTable* after, gboolean* now_hidden)
{
    GHashTableIter iter;
    gpointer name = NULL;
    if (after) {
        g_hash_table_iter_init(&iter, after);
        while (g_hash_table_iter_next(&iter, &name, NULL)) {
            if (!before || !g_hash_table_contains(before, name)) {
                *now_hidden = TRUE;
                return name;
            }
        }
    }
    if (before) {
        g_hash_table_iter_init(&iter, before);
        while (g_hash_table_iter_next(&iter, &name, NULL)) {
            if (!after || !g_hash_table_contains(after, name)) {
                *now_hidden = FALSE;
                return name;
            }
        }
    }
    return NULL;
}

/* One entry's watch on its target folder's list, from the choice until the view was reloaded or
 * the watch expired. */
typedef struct
{
    GFile* folder;
    GFile* list;
    GFileMonitor* monitor;
    GWeakRef window;
    GHashTable* before;
    GHashTable* after;
    gboolean answered_old; /* GLib answered from the old list after the change */
    guint settle_source;
    guint expire_source;
} HiddenWatch;

static void hidden_watch_free(HiddenWatch* watch)
{
    if (watch->settle_source)
        g_source_remove(watch->settle_source);
    if (watch->expire_source)
        g_source_remove(watch->expire_source);
    g_signal_handlers_disconnect_by_data(watch->monitor, watch);
    g_file_monitor_cancel(watch->monitor);
    g_object_unref(watch->monitor);
    g_weak_ref_clear(&watch->window);
    g_clear_pointer(&watch->before, g_hash_table_unref);
    g_clear_pointer(&watch->after, g_hash_table_unref);
    g_object_unref(watch->list);
    g_object_unref(watch->folder);
    g_free(watch);
}

static void reload_and_end(HiddenWatch* watch)
{
    g_debug("pallstone: the folder's .hidden list changed, the view is read again%s",
            watch->answered_old ? " (GLib answered from the old list first)" : "");
    gpointer window = g_weak_ref_get(&watch->window);
    if (reload_view)
        reload_view(window);
    g_clear_object(&window);
    hidden_watch_free(watch);
}

/* Whether GLib in this process answers from the new list: the file manager reads the folder
 * through it, so a reload before that would show the old state again. */
static gboolean glib_sees(HiddenWatch* watch, const char* name, gboolean now_hidden)
{
    GFile* item = g_file_get_child(watch->folder, name);
    GFileInfo* info = g_file_query_info(item, G_FILE_ATTRIBUTE_STANDARD_IS_HIDDEN,
                                        G_FILE_QUERY_INFO_NOFOLLOW_SYMLINKS, NULL, NULL);
    g_object_unref(item);
    /* A name without an item changes nothing in the view. */
    const gboolean seen = !info || g_file_info_get_is_hidden(info) == now_hidden;
    g_clear_object(&info);
    return seen;
}

/* Sets an item's times to what they are: only its status-change time moves, and GIO's file
 * monitor reports a change of its attributes. */
static void touch_item(GFile* folder, const char* name)
{
    /* A line of the list that names no item of the folder touches nothing. */
    if (strchr(name, '/') || !strcmp(name, ".") || !strcmp(name, ".."))
        return;
    GFile* item = g_file_get_child(folder, name);
    const char* path = g_file_peek_path(item);
    struct stat info;
    if (path && lstat(path, &info) == 0) {
        const struct timespec times[2] = {info.st_atim, info.st_mtim};
        utimensat(AT_FDCWD, path, times, AT_SYMLINK_NOFOLLOW);
    }
    g_object_unref(item);
}

static void touch_changed_items(HiddenWatch* watch)
{
    GHashTable* lists[2] = {watch->before, watch->after};
    for (guint i = 0; i < 2; ++i) {
        if (!lists[i])
            continue;
        GHashTable* other = lists[1 - i];
        GHashTableIter iter;
        gpointer name = NULL;
        g_hash_table_iter_init(&iter, lists[i]);
        while (g_hash_table_iter_next(&iter, &name, NULL)) {
            if (!other || !g_hash_table_contains(other, name))
                touch_item(watch->folder, name);
        }
    }
}

static gboolean on_items_settled(gpointer data)
{
    HiddenWatch* watch = data;
    watch->settle_source = 0;
    reload_and_end(watch);
    return G_SOURCE_REMOVE;
}

static gboolean on_hidden_settled(gpointer data)
{
    HiddenWatch* watch = data;
    watch->settle_source = 0;
    if (!watch->after)
        watch->after = hidden_names(watch->list);
    gboolean now_hidden = FALSE;
    const char* name = changed_name(watch->before, watch->after, &now_hidden);
    if (!name) {
        /* Rewritten with the same names: nothing to show. */
        g_clear_pointer(&watch->after, g_hash_table_unref);
        return G_SOURCE_REMOVE;
    }
    if (!glib_sees(watch, name, now_hidden)) {
        watch->answered_old = TRUE;
        watch->settle_source = g_timeout_add(HIDDEN_RETRY_MS, on_hidden_settled, watch);
        return G_SOURCE_REMOVE;
    }
    /* The file manager may have looked at the changed items while GLib still answered from the
     * old list, or not yet taken in their change: Thunar keeps what it saw in its items through
     * a reload. They are changed again, as the service did, now that GLib reads the new list,
     * and the view is read once the file manager has taken that in. */
    touch_changed_items(watch);
    watch->settle_source = g_timeout_add(ITEMS_SETTLE_MS, on_items_settled, watch);
    return G_SOURCE_REMOVE;
}

static void on_hidden_list_changed(GFileMonitor* monitor, GFile* file, GFile* other,
                                   GFileMonitorEvent event, gpointer data)
{
    (void)monitor;
    (void)file;
    (void)other;
    HiddenWatch* watch = data;
    if (event == G_FILE_MONITOR_EVENT_PRE_UNMOUNT || event == G_FILE_MONITOR_EVENT_UNMOUNTED)
        return;
    /* A later change starts the wait again, and the list is read anew. */
    g_clear_pointer(&watch->after, g_hash_table_unref);
    if (watch->settle_source)
        g_source_remove(watch->settle_source);
    watch->settle_source = g_timeout_add(HIDDEN_SETTLE_MS, on_hidden_settled, watch);
}

static gboolean on_hidden_watch_expired(gpointer data)
{
    HiddenWatch* watch = data;
    watch->expire_source = 0;
    /* A change GLib was still catching up with is shown all the same. */
    if (watch->after)
        reload_and_end(watch);
    else
        hidden_watch_free(watch);
    return G_SOURCE_REMOVE;
}

static void watch_hidden_list(const PallstoneMenu* menu, gpointer window)
{
    if (!reload_view || !g_str_has_prefix(menu->target, "file:///"))
        return;
    HiddenWatch* watch = g_new0(HiddenWatch, 1);
    watch->folder = g_file_new_for_uri(menu->target);
    watch->list = g_file_get_child(watch->folder, ".hidden");
    watch->monitor = g_file_monitor_file(watch->list, G_FILE_MONITOR_NONE, NULL, NULL);
    if (!watch->monitor) {
        g_object_unref(watch->list);
        g_object_unref(watch->folder);
        g_free(watch);
        return;
    }
    g_weak_ref_init(&watch->window, window);
    watch->before = hidden_names(watch->list);
    g_signal_connect(watch->monitor, "changed", G_CALLBACK(on_hidden_list_changed), watch);
    watch->expire_source = g_timeout_add(HIDDEN_WATCH_MS, on_hidden_watch_expired, watch);
}

typedef struct
{
    PallstoneMenu* menu;
    guint row;
    GWeakRef window;
} Activation;

static void activation_free(gpointer data)
{
    Activation* activation = data;
    pallstone_menu_unref(activation->menu);
    g_weak_ref_clear(&activation->window);
    g_free(activation);
}

static void on_item_activated(GObject* item, gpointer user_data)
{
    (void)user_data;
    Activation* activation = g_object_get_data(item, "pallstone-activation");
    if (!activation)
        return;
    gpointer window = g_weak_ref_get(&activation->window);
    /* Watching starts first: the service may be done before this returns. */
    watch_hidden_list(activation->menu, window);
    pallstone_menu_activate(activation->menu, activation->row);
    g_clear_object(&window);
}

static GList* build_items(PallstoneMenu* menu, gpointer window, PallstoneNewItem new_item,
                          PallstoneAppendItem append)
{
    GObject** items = g_new0(GObject*, menu->n_rows);
    GList* top = NULL;
    for (guint i = 0; i < menu->n_rows; ++i) {
        const PallstoneRow* row = &menu->rows[i];
        if (row->parent >= 0 && !items[row->parent])
            continue;
        GObject* item = new_item(row);
        if (!item)
            continue;
        items[i] = item; /* borrowed: owned by its parent's submenu or by the top-level list */
        if (!row->separator && !row->opens_submenu) {
            Activation* activation = g_new0(Activation, 1);
            activation->menu = pallstone_menu_ref(menu);
            activation->row = i;
            g_weak_ref_init(&activation->window, window);
            g_object_set_data_full(item, "pallstone-activation", activation, activation_free);
            g_signal_connect(item, "activate", G_CALLBACK(on_item_activated), NULL);
        }
        if (row->parent < 0) {
            top = g_list_prepend(top, item);
        } else {
            append(items[row->parent], item);
            g_object_unref(item);
        }
    }
    g_free(items);
    return g_list_reverse(top);
}

GList* pallstone_items_for_selection(GList* files, gpointer window, PallstoneUriOf uri_of,
                                     PallstoneNewItem new_item, PallstoneAppendItem append)
{
    GPtrArray* uris = g_ptr_array_new_with_free_func(g_free);
    for (GList* l = files; l; l = l->next) {
        char* uri = uri_of(l->data);
        if (!uri) {
            g_ptr_array_free(uris, TRUE);
            return NULL;
        }
        g_ptr_array_add(uris, uri);
    }
    g_ptr_array_add(uris, NULL);
    GList* items = NULL;
    if (uris->len > 1) {
        const char* const* list = (const char* const*)uris->pdata;
        char* target = parent_uri(list[0]);
        PallstoneMenu* menu = pallstone_bridge_menu(PALLSTONE_KIND_ITEMS, list, target);
        g_free(target);
        if (menu) {
            items = build_items(menu, window, new_item, append);
            pallstone_menu_unref(menu);
        }
    }
    g_ptr_array_free(uris, TRUE);
    return items;
}

GList* pallstone_items_for_folder(gpointer folder, gpointer window, PallstoneUriOf uri_of,
                                  PallstoneNewItem new_item, PallstoneAppendItem append)
{
    char* target = uri_of(folder);
    if (!target)
        return NULL;
    const char* none[] = {NULL};
    PallstoneMenu* menu = pallstone_bridge_menu(PALLSTONE_KIND_BACKGROUND, none, target);
    g_free(target);
    if (!menu)
        return NULL;
    GList* items = build_items(menu, window, new_item, append);
    pallstone_menu_unref(menu);
    return items;
}
