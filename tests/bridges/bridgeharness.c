/*
 * The cases every bridge must pass (see bridgeharness.h). The bus's configuration can activate
 * the built service, so "start the service" really starts it.
 */
#include "bridgeharness.h"

#include <glib/gstdio.h>
#include <gmodule.h>
#include <signal.h>
#include <string.h>

#define BUS_NAME "com.tolvane.pallstone.extension"
#define OBJECT_PATH "/com/tolvane/pallstone/ContextMenu"
#define INTERFACE "com.tolvane.pallstone.ContextMenu"

/* The bridge's own bound is 250 ms; this leaves room for a loaded machine. */
#define BRIDGE_BOUND_US (1 * G_USEC_PER_SEC)

static const BridgeAdapter* adapter;
static GDBusConnection* bus;
static char* home;
static char* file_uri;
static char* folder_uri;
static char* transcript;

/* ---- nodes ---- */

HarnessNode* harness_node_new(void)
{
    HarnessNode* node = g_new0(HarnessNode, 1);
    node->sensitive = TRUE;
    return node;
}

void harness_node_free(gpointer data)
{
    HarnessNode* node = data;
    if (!node)
        return;
    g_free(node->name);
    g_free(node->label);
    g_free(node->icon);
    if (node->children)
        g_ptr_array_unref(node->children);
    if (node->native && node->native_free)
        node->native_free(node->native);
    g_free(node);
}

GPtrArray* harness_gtk_nodes(GList* items, GList* (*submenu_items)(GObject* menu))
{
    GPtrArray* nodes = g_ptr_array_new_with_free_func(harness_node_free);
    for (GList* l = items; l; l = l->next) {
        GObject* item = l->data;
        HarnessNode* node = harness_node_new();
        GObject* submenu = NULL;
        g_object_get(item, "name", &node->name, "label", &node->label, "icon", &node->icon,
                     "sensitive", &node->sensitive, "menu", &submenu, NULL);
        if (g_object_class_find_property(G_OBJECT_GET_CLASS(item), "separator"))
            g_object_get(item, "separator", &node->separator, NULL);
        if (submenu) {
            node->children = harness_gtk_nodes(submenu_items(submenu), submenu_items);
            g_object_unref(submenu);
        }
        node->native = item; /* the list's reference */
        node->native_free = g_object_unref;
        g_ptr_array_add(nodes, node);
    }
    g_list_free(items);
    return nodes;
}

char* harness_gtk_label(const char* title)
{
    char** parts = g_strsplit(title, "_", -1);
    char* label = g_strjoinv("__", parts);
    g_strfreev(parts);
    return label;
}

/* ---- a module loaded as Nautilus, Nemo and Caja load their extensions ---- */

typedef struct
{
    GTypeModule parent;
    const char* path;
    const char* prefix;
    GModule* library;
    void (*list_types)(const GType** types, int* num_types);
} TestModule;
typedef struct
{
    GTypeModuleClass parent_class;
} TestModuleClass;

static GType test_module_get_type(void);
G_DEFINE_TYPE(TestModule, test_module, G_TYPE_TYPE_MODULE)

static gboolean test_module_load(GTypeModule* gmodule)
{
    TestModule* module = (TestModule*)gmodule;
    module->library = g_module_open(module->path, G_MODULE_BIND_LAZY | G_MODULE_BIND_LOCAL);
    if (!module->library) {
        g_printerr("cannot load %s: %s\n", module->path, g_module_error());
        return FALSE;
    }
    void (*initialize)(GTypeModule*) = NULL;
    char* initialize_name = g_strconcat(module->prefix, "_module_initialize", NULL);
    char* list_name = g_strconcat(module->prefix, "_module_list_types", NULL);
    const gboolean found =
        g_module_symbol(module->library, initialize_name, (gpointer*)&initialize) &&
        g_module_symbol(module->library, list_name, (gpointer*)&module->list_types);
    g_free(initialize_name);
    g_free(list_name);
    if (!found)
        return FALSE;
    initialize(gmodule);
    return TRUE;
}
static void test_module_unload(GTypeModule* gmodule)
{
    (void)gmodule; /* file managers never unload an extension either */
}
static void test_module_class_init(TestModuleClass* klass)
{
    G_TYPE_MODULE_CLASS(klass)->load = test_module_load;
    G_TYPE_MODULE_CLASS(klass)->unload = test_module_unload;
}
static void test_module_init(TestModule* self)
{
    (void)self;
}

GType harness_load_module(const char* path, const char* prefix)
{
    TestModule* module = g_object_new(test_module_get_type(), NULL);
    module->path = path;
    module->prefix = prefix;
    g_assert_true(g_type_module_use(G_TYPE_MODULE(module)));
    const GType* types = NULL;
    int count = 0;
    module->list_types(&types, &count);
    g_assert_cmpint(count, ==, 1);
    return types[0];
}

/* ---- the service ---- */

static void spin_for(gint64 microseconds)
{
    const gint64 end = g_get_monotonic_time() + microseconds;
    while (g_get_monotonic_time() < end)
        g_main_context_iteration(NULL, FALSE), g_usleep(5000);
}

static gboolean name_has_owner(void)
{
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "NameHasOwner", g_variant_new("(s)", BUS_NAME), G_VARIANT_TYPE("(b)"),
        G_DBUS_CALL_FLAGS_NONE, 5000, NULL, NULL);
    gboolean owned = FALSE;
    if (reply) {
        g_variant_get(reply, "(b)", &owned);
        g_variant_unref(reply);
    }
    return owned;
}

/* Iterates the main loop (the bridge's callbacks run there, as in the file manager) until the
 * name is owned or not. */
static gboolean wait_for_owner(gboolean owned, int seconds)
{
    const gint64 end = g_get_monotonic_time() + seconds * G_USEC_PER_SEC;
    while (name_has_owner() != owned) {
        if (g_get_monotonic_time() > end)
            return FALSE;
        spin_for(20000);
    }
    return TRUE;
}

static void stop_service(void)
{
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "GetConnectionUnixProcessID", g_variant_new("(s)", BUS_NAME), G_VARIANT_TYPE("(u)"),
        G_DBUS_CALL_FLAGS_NONE, 5000, NULL, NULL);
    if (!reply)
        return;
    guint32 pid = 0;
    g_variant_get(reply, "(u)", &pid);
    g_variant_unref(reply);
    kill((pid_t)pid, SIGTERM);
    g_assert_true(wait_for_owner(FALSE, 20));
}

static GPtrArray* file_items(gint64* elapsed)
{
    const gint64 start = g_get_monotonic_time();
    GPtrArray* items = adapter->file_items(file_uri);
    if (elapsed)
        *elapsed = g_get_monotonic_time() - start;
    return items;
}

static GPtrArray* background_items(gint64* elapsed)
{
    const gint64 start = g_get_monotonic_time();
    GPtrArray* items = adapter->background_items(folder_uri);
    if (elapsed)
        *elapsed = g_get_monotonic_time() - start;
    return items;
}

static void free_items(GPtrArray* items)
{
    if (items)
        g_ptr_array_unref(items);
}

/* Compares the items with the rows the service sends for the same inputs: every entry there is
 * here, in order, under the same parent, with its stable name, label and icon. */
static void check_tree(GPtrArray* items, GVariant* rows, gint32 parent, int* checked)
{
    guint at = 0;
    const gsize n = g_variant_n_children(rows);
    for (gsize i = 0; i < n; ++i) {
        gint32 id, parentId;
        gint64 tag;
        const char *key, *title, *icon;
        gboolean separator;
        g_variant_get_child(rows, i, "(iix&s&s&sb)", &id, &parentId, &tag, &key, &title, &icon,
                            &separator);
        if (parentId != parent || (separator && !*title && !adapter->real_separators))
            continue;
        g_assert_nonnull(items);
        g_assert_cmpuint(at, <, items->len);
        HarnessNode* node = g_ptr_array_index(items, at);
        char* expected_name = separator ? g_strdup_printf("Pallstone::separator::%d", id)
                                        : g_strdup_printf("Pallstone::%" G_GINT64_FORMAT, tag);
        g_assert_cmpstr(node->name, ==, expected_name);
        g_free(expected_name);
        if (separator && !*title) {
            g_assert_true(node->separator);
        } else {
            char* expected_label = adapter->label(title);
            g_assert_cmpstr(node->label, ==, expected_label);
            g_free(expected_label);
            if (adapter->icon_names)
                g_assert_cmpstr(node->icon, ==, *icon ? icon : NULL);
            g_assert_true(node->sensitive == !separator);
        }
        if (node->children)
            check_tree(node->children, rows, id, checked);
        ++*checked;
        ++at;
    }
    g_assert_cmpuint(at, ==, items ? items->len : 0);
}

static GVariant* service_rows(guint kind, const char* const* uris, const char* target)
{
    GError* error = NULL;
    GVariant* reply = g_dbus_connection_call_sync(
        bus, BUS_NAME, OBJECT_PATH, INTERFACE, "MenuForMenuKind",
        g_variant_new("(u^ass)", kind, uris, target), G_VARIANT_TYPE("(ta(iixsssb))"),
        G_DBUS_CALL_FLAGS_NONE, 20000, NULL, &error);
    g_assert_no_error(error);
    GVariant* rows = g_variant_get_child_value(reply, 1);
    g_variant_unref(reply);
    return rows;
}

static HarnessNode* find_item(GPtrArray* items, const char* title)
{
    char* label = adapter->label(title);
    HarnessNode* found = NULL;
    for (guint i = 0; items && i < items->len && !found; ++i) {
        HarnessNode* node = g_ptr_array_index(items, i);
        if (g_strcmp0(node->label, label) == 0)
            found = node;
    }
    g_free(label);
    return found;
}

static int launches(void)
{
    char* contents = NULL;
    int count = 0;
    if (g_file_get_contents(transcript, &contents, NULL, NULL)) {
        for (const char* p = contents; (p = strstr(p, "\"event\":\"launch\"")); ++p)
            ++count;
    }
    g_free(contents);
    return count;
}

/* ---- a stand-in service: crafted replies, or none at all ---- */

typedef enum
{
    FAKE_ROWS,
    FAKE_WRONG_TYPE,
    FAKE_SILENT
} FakeMode;

static FakeMode fake_mode;
static GThread* fake_thread;
static GMainLoop* fake_loop;
static GMainContext* fake_context;
static GPtrArray* held_invocations;
static GAsyncQueue* actions_received; /* the tags of OnMenuItemAction calls, in order */

static void fake_method_call(GDBusConnection* connection, const char* sender, const char* path,
                             const char* interface, const char* method, GVariant* parameters,
                             GDBusMethodInvocation* invocation, gpointer user_data)
{
    (void)sender, (void)path, (void)interface, (void)user_data;
    if (g_str_equal(method, "OnMenuItemAction")) {
        gint64 tag = 0;
        g_variant_get_child(parameters, 1, "x", &tag);
        /* Answered before the test hears of it: a fake stopped right after must not leave the
         * bridge's call without a reply. */
        g_dbus_method_invocation_return_value(invocation, NULL);
        g_dbus_connection_flush_sync(connection, NULL, NULL);
        g_async_queue_push(actions_received, GINT_TO_POINTER((gint)tag));
        return;
    }
    switch (fake_mode) {
    case FAKE_SILENT:
        g_ptr_array_add(held_invocations, invocation); /* never answered */
        return;
    case FAKE_WRONG_TYPE:
        g_dbus_method_invocation_return_value(invocation,
                                              g_variant_new_parsed("(['not', 'a', 'menu'],)"));
        return;
    case FAKE_ROWS:
        break;
    }
    /* Rows that break the contract in every way a faulty service could. */
    g_dbus_method_invocation_return_value(
        invocation, g_variant_new_parsed("(uint64 7, [(0, -1, int64 1, 'a', 'A_B', '', false),"
                                         "  (1, 0, int64 101, 'b', 'Child', '/no/such.svg', false),"
                                         "  (2, -1, int64 0, '', '', '', true),"
                                         "  (3, -1, int64 0, '', 'Section', '', true),"
                                         "  (4, 3, int64 301, 'c', 'Under a separator', '', false),"
                                         "  (5, 99, int64 501, 'd', 'Unknown parent', '', false),"
                                         "  (0, -1, int64 7, 'e', 'Repeated id', '', false),"
                                         "  (6, -1, int64 -5, 'f', 'Negative tag', '', false),"
                                         "  (7, 7, int64 8, 'g', 'Own parent', '', false),"
                                         "  (8, -1, int64 9, 'h', '', '', false),"
                                         "  (-3, -1, int64 10, 'i', 'Negative id', '', false),"
                                         "  (9, -1, int64 2, 'j', 'Last', '', false)])"));
}

static const GDBusInterfaceVTable fake_vtable = {fake_method_call, NULL, NULL, {0}};

static gpointer fake_main(gpointer data)
{
    GAsyncQueue* ready = data;
    g_main_context_push_thread_default(fake_context);
    char* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, NULL, NULL);
    GDBusConnection* connection =
        g_dbus_connection_new_for_address_sync(address,
                                               G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                   G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION,
                                               NULL, NULL, NULL);
    g_free(address);
    g_assert_nonnull(connection);
    /* GDBus checks what a server sends against its own description: the faulty service
     * describes what it sends. */
    char* xml =
        g_strdup_printf("<node><interface name='" INTERFACE "'>"
                        "<method name='MenuForMenuKind'><arg type='u' direction='in'/>"
                        "<arg type='as' direction='in'/><arg type='s' direction='in'/>"
                        "%s</method><method name='OnMenuItemAction'><arg type='t' direction='in'/>"
                        "<arg type='x' direction='in'/><arg type='s' direction='in'/>"
                        "<arg type='u' direction='in'/><arg type='as' direction='in'/>"
                        "<arg type='s' direction='in'/></method></interface></node>",
                        fake_mode == FAKE_WRONG_TYPE ? "<arg type='as' direction='out'/>"
                                                     : "<arg type='t' direction='out'/>"
                                                       "<arg type='a(iixsssb)' direction='out'/>");
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(xml, NULL);
    g_free(xml);
    const guint object = g_dbus_connection_register_object(
        connection, OBJECT_PATH, node->interfaces[0], &fake_vtable, NULL, NULL, NULL);
    GVariant* reply = g_dbus_connection_call_sync(
        connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "RequestName", g_variant_new("(su)", BUS_NAME, 4u /* do not queue */),
        G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, 5000, NULL, NULL);
    g_assert_nonnull(reply);
    g_variant_unref(reply);
    g_async_queue_push(ready, GINT_TO_POINTER(1));

    g_main_loop_run(fake_loop);

    g_ptr_array_set_size(held_invocations, 0);
    g_dbus_connection_unregister_object(connection, object);
    g_dbus_connection_close_sync(connection, NULL, NULL);
    g_object_unref(connection);
    g_dbus_node_info_unref(node);
    g_main_context_pop_thread_default(fake_context);
    return NULL;
}

static void start_fake(FakeMode mode)
{
    fake_mode = mode;
    held_invocations = g_ptr_array_new_with_free_func(g_object_unref);
    actions_received = g_async_queue_new();
    fake_context = g_main_context_new();
    fake_loop = g_main_loop_new(fake_context, FALSE);
    GAsyncQueue* ready = g_async_queue_new();
    fake_thread = g_thread_new("fake-service", fake_main, ready);
    g_async_queue_pop(ready);
    g_async_queue_unref(ready);
}

static gboolean quit_fake(gpointer data)
{
    (void)data;
    g_main_loop_quit(fake_loop);
    return G_SOURCE_REMOVE;
}

static void stop_fake(void)
{
    g_main_context_invoke(fake_context, quit_fake, NULL);
    g_thread_join(fake_thread);
    g_main_loop_unref(fake_loop);
    g_main_context_unref(fake_context);
    g_ptr_array_unref(held_invocations);
    g_async_queue_unref(actions_received);
    g_assert_true(wait_for_owner(FALSE, 10));
}

/* ---- the cases ---- */

static void test_module_loads_and_starts_the_service(void)
{
    /* Loading the module already asked the bus to start the service. */
    g_assert_true(wait_for_owner(TRUE, 30));
}

static void test_menus_come_from_the_service(void)
{
    g_assert_true(wait_for_owner(TRUE, 30));
    const char* uris[] = {file_uri, NULL};
    GVariant* rows = service_rows(0, uris, folder_uri);
    GPtrArray* items = file_items(NULL);
    g_assert_nonnull(items);
    int checked = 0;
    check_tree(items, rows, -1, &checked);
    g_assert_cmpint(checked, >, 10);
    g_variant_unref(rows);

    /* Choosing "Pallstone Settings…" in the "New File" submenu is carried out by the service. */
    HarnessNode* newFile = find_item(items, "New File");
    g_assert_nonnull(newFile);
    HarnessNode* settings = find_item(newFile->children, "Pallstone Settings…");
    g_assert_nonnull(settings);
    const int before = launches();
    adapter->activate(settings);
    const gint64 end = g_get_monotonic_time() + 15 * G_USEC_PER_SEC;
    while (launches() == before && g_get_monotonic_time() < end)
        spin_for(50000);
    g_assert_cmpint(launches(), ==, before + 1);
    free_items(items);

    const char* none[] = {NULL};
    rows = service_rows(1, none, folder_uri);
    items = background_items(NULL);
    checked = 0;
    check_tree(items, rows, -1, &checked);
    g_assert_cmpint(checked, >, 5);
    g_variant_unref(rows);
    free_items(items);
}

static void test_items_of_other_locations_get_no_menu(void)
{
    g_assert_true(wait_for_owner(TRUE, 30));
    g_assert_null(adapter->file_items("trash:///a.txt"));
    g_assert_null(adapter->background_items("trash:///"));
}

static void test_a_switched_off_file_manager_shows_nothing(void)
{
    g_assert_true(wait_for_owner(TRUE, 30));
    char* folder = g_build_filename(g_get_user_config_dir(), "pallstone", "switched-off", NULL);
    char* mark = g_build_filename(folder, adapter->file_manager, NULL);
    g_mkdir_with_parents(folder, 0700);
    g_file_set_contents(mark, "", 0, NULL);
    g_assert_null(file_items(NULL));
    g_assert_null(background_items(NULL));
    g_remove(mark);
    GPtrArray* items = file_items(NULL);
    g_assert_nonnull(items);
    free_items(items);
    g_free(mark);
    g_free(folder);
}

static void test_a_service_not_yet_on_the_bus_is_waited_for(void)
{
    stop_service();
    /* The first menu after login or after the service ended: the bridge starts the service and
     * waits for it within its bound. A loaded machine may start it too slowly, but the bridge
     * must have waited, not given up at once. */
    gint64 elapsed = 0;
    GPtrArray* items = file_items(&elapsed);
    g_test_message("file items while the service starts: %" G_GINT64_FORMAT " us, %s", elapsed,
                   items ? "entries" : "none");
    g_assert_cmpint(elapsed, <, BRIDGE_BOUND_US);
    if (!items)
        g_assert_cmpint(elapsed, >=, 200000);
    free_items(items);
    g_assert_true(wait_for_owner(TRUE, 30));
    items = background_items(NULL);
    g_assert_nonnull(items);
    free_items(items);
}

static void test_malformed_replies_are_not_trusted(void)
{
    stop_service();
    start_fake(FAKE_WRONG_TYPE);
    g_assert_null(file_items(NULL));
    stop_fake();

    start_fake(FAKE_ROWS);
    GPtrArray* items = file_items(NULL);
    g_assert_nonnull(items);
    g_assert_cmpint(items->len, ==, adapter->real_separators ? 4 : 3);
    HarnessNode* first = g_ptr_array_index(items, 0);
    char* label = adapter->label("A_B");
    g_assert_cmpstr(first->name, ==, "Pallstone::1");
    g_assert_cmpstr(first->label, ==, label);
    g_free(label);
    g_assert_nonnull(first->children);
    g_assert_cmpint(first->children->len, ==, 1);
    HarnessNode* child = g_ptr_array_index(first->children, 0);
    g_assert_cmpstr(child->name, ==, "Pallstone::101");
    if (adapter->icon_names)
        g_assert_cmpstr(child->icon, ==, "/no/such.svg");

    guint next = 1;
    if (adapter->real_separators) {
        HarnessNode* plain = g_ptr_array_index(items, next++);
        g_assert_cmpstr(plain->name, ==, "Pallstone::separator::2");
        g_assert_true(plain->separator);
    }
    /* The separator with text stays, as an entry that cannot be chosen. */
    HarnessNode* section = g_ptr_array_index(items, next++);
    g_assert_cmpstr(section->name, ==, "Pallstone::separator::3");
    g_assert_false(section->sensitive);
    g_assert_null(section->children);
    HarnessNode* last = g_ptr_array_index(items, next);
    g_assert_cmpstr(last->name, ==, "Pallstone::2");
    free_items(items);
    stop_fake();
}

static void test_opening_a_submenu_runs_nothing(void)
{
    if (name_has_owner())
        stop_service();
    start_fake(FAKE_ROWS);
    GPtrArray* items = file_items(NULL);
    g_assert_nonnull(items);
    HarnessNode* holder = g_ptr_array_index(items, 0);
    g_assert_nonnull(holder->children);
    /* What Nemo, Caja and Thunar do when the pointer opens a submenu, then a real choice. */
    adapter->activate(holder);
    adapter->activate(g_ptr_array_index(holder->children, 0));
    /* One sender's calls arrive in order: the first action the service gets is the choice. */
    gpointer tag = g_async_queue_timeout_pop(actions_received, 10 * G_USEC_PER_SEC);
    g_assert_cmpint(GPOINTER_TO_INT(tag), ==, 101);
    free_items(items);
    stop_fake();
}

static void test_a_service_that_never_answers_costs_one_timeout(void)
{
    if (name_has_owner())
        stop_service();
    start_fake(FAKE_SILENT);
    gint64 elapsed = 0;
    g_assert_null(file_items(&elapsed));
    g_test_message("file items with a silent service: %" G_GINT64_FORMAT " us", elapsed);
    g_assert_cmpint(elapsed, >=, 200000); /* it did wait for the service, once */
    g_assert_cmpint(elapsed, <, BRIDGE_BOUND_US);
    /* Presumed hung: the next menus do not wait again. */
    g_assert_null(background_items(&elapsed));
    g_assert_cmpint(elapsed, <, 100000);
    g_assert_null(file_items(&elapsed));
    g_assert_cmpint(elapsed, <, 100000);
    stop_fake();
}

static void seed_configuration(void)
{
    char* argv[] = {PALLSTONE_APP, "setup", NULL};
    int status = 0;
    GError* error = NULL;
    g_spawn_sync(NULL, argv, NULL, G_SPAWN_STDOUT_TO_DEV_NULL, NULL, NULL, NULL, NULL, &status,
                 &error);
    g_assert_no_error(error);
    g_assert_true(g_spawn_check_wait_status(status, NULL));
}

/* Activated services get the bus's environment: point it at the test's home and script. */
static void set_activation_environment(void)
{
    GVariantBuilder env;
    g_variant_builder_init(&env, G_VARIANT_TYPE("a{ss}"));
    const char* names[] = {"HOME",
                           "XDG_CONFIG_HOME",
                           "XDG_DATA_HOME",
                           "XDG_CACHE_HOME",
                           "PALLSTONE_ANSWERS",
                           "PALLSTONE_TRANSCRIPT",
                           "QT_QPA_PLATFORM",
                           "DISPLAY",
                           "XAUTHORITY",
                           "XDG_DATA_DIRS",
                           "LANG",
                           "ASAN_OPTIONS",
                           NULL};
    for (const char** n = names; *n; ++n) {
        if (g_getenv(*n))
            g_variant_builder_add(&env, "{ss}", *n, g_getenv(*n));
    }
    GError* error = NULL;
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "UpdateActivationEnvironment", g_variant_new("(a{ss})", &env), NULL, G_DBUS_CALL_FLAGS_NONE,
        5000, NULL, &error);
    g_assert_no_error(error);
    g_variant_unref(reply);
}

int harness_main(int argc, char** argv, const BridgeAdapter* bridge)
{
    adapter = bridge;
    g_test_init(&argc, &argv, NULL);

    home = g_dir_make_tmp("pallstone-bridge-XXXXXX", NULL);
    g_assert_nonnull(home);
    char* path;
    g_setenv("HOME", home, TRUE);
    g_setenv("XDG_CONFIG_HOME", path = g_build_filename(home, ".config", NULL), TRUE), g_free(path);
    g_setenv("XDG_DATA_HOME", path = g_build_filename(home, ".local/share", NULL), TRUE),
        g_free(path);
    g_setenv("XDG_CACHE_HOME", path = g_build_filename(home, ".cache", NULL), TRUE), g_free(path);
    /* The desktop variants run the service with xcb under Xvfb. */
    g_setenv("QT_QPA_PLATFORM", "offscreen", FALSE);
    g_setenv("LANG", "C.UTF-8", TRUE);
    char* answers = g_build_filename(home, "answers.json", NULL);
    g_file_set_contents(answers, "[]", -1, NULL);
    g_setenv("PALLSTONE_ANSWERS", answers, TRUE);
    transcript = g_build_filename(home, "transcript.jsonl", NULL);
    g_setenv("PALLSTONE_TRANSCRIPT", transcript, TRUE);
    char* folder = g_build_filename(home, "docs_1", NULL);
    g_mkdir_with_parents(folder, 0700);
    char* file = g_build_filename(folder, "a file_with 'quotes' $(x).txt", NULL);
    g_file_set_contents(file, "x", -1, NULL);
    file_uri = g_filename_to_uri(file, NULL, NULL);
    folder_uri = g_filename_to_uri(folder, NULL, NULL);

    bus = g_bus_get_sync(G_BUS_TYPE_SESSION, NULL, NULL);
    g_assert_nonnull(bus);
    g_assert_false(name_has_owner());
    seed_configuration();
    set_activation_environment();
    adapter->load();

    g_test_add_func("/bridge/loading-starts-the-service", test_module_loads_and_starts_the_service);
    g_test_add_func("/bridge/menus-come-from-the-service", test_menus_come_from_the_service);
    g_test_add_func("/bridge/other-locations-get-no-menu",
                    test_items_of_other_locations_get_no_menu);
    g_test_add_func("/bridge/switched-off", test_a_switched_off_file_manager_shows_nothing);
    g_test_add_func("/bridge/service-not-yet-on-the-bus",
                    test_a_service_not_yet_on_the_bus_is_waited_for);
    g_test_add_func("/bridge/malformed-replies", test_malformed_replies_are_not_trusted);
    g_test_add_func("/bridge/opening-a-submenu-runs-nothing", test_opening_a_submenu_runs_nothing);
    g_test_add_func("/bridge/silent-service", test_a_service_that_never_answers_costs_one_timeout);
    const int result = g_test_run();

    if (name_has_owner())
        stop_service();
    g_free(file);
    g_free(folder);
    g_free(answers);
    g_free(file_uri);
    g_free(folder_uri);
    g_free(transcript);
    g_object_unref(bus);
    char* argv_rm[] = {"rm", "-rf", home, NULL};
    g_spawn_sync(NULL, argv_rm, NULL, G_SPAWN_SEARCH_PATH, NULL, NULL, NULL, NULL, NULL, NULL);
    g_free(home);
    return result;
}
