/*
 * The cases every bridge must pass, run against the real service on a private session bus (and
 * against stand-ins that answer garbage or nothing). A bridge's test loads the built module the
 * way its file manager does and turns the file manager's menu items into HarnessNodes.
 */
#pragma once

#include <gio/gio.h>

G_BEGIN_DECLS

typedef struct
{
    char* name;
    char* label;
    char* icon; /* NULL for none */
    gboolean sensitive;
    gboolean separator;
    GPtrArray* children; /* of HarnessNode, NULL without a submenu */
    gpointer native;     /* the file manager's item, for activation */
    GDestroyNotify native_free;
} HarnessNode;

typedef struct
{
    const char* file_manager; /* its switch in the settings application */
    gboolean real_separators; /* plain separators are shown as separators */
    gboolean icon_names;      /* the items tell the icon's name or path */
    /* Loads the module; the provider is then ready for the calls below. */
    void (*load)(void);
    /* The items the file manager gets for a selection of one item, or for a folder's background;
     * NULL for none. */
    GPtrArray* (*file_items)(const char* uri);
    GPtrArray* (*background_items)(const char* folder_uri);
    /* Chooses the entry as the file manager does. */
    void (*activate)(HarnessNode* node);
    /* The label the file manager gets for a title. */
    char* (*label)(const char* title);
} BridgeAdapter;

/* Sets up the private home and bus, loads the bridge and runs the cases. */
int harness_main(int argc, char** argv, const BridgeAdapter* adapter);

/* For GTK file managers: loads a module that exports <prefix>_module_initialize and
 * <prefix>_module_list_types (Nautilus, Nemo, Caja) and returns its one provider type. */
GType harness_load_module(const char* path, const char* prefix);
/* Nodes from GTK menu items (properties name, label, icon, sensitive, menu and, where there is
 * one, separator); submenu_items lists a submenu's items as new references. Takes the list. */
GPtrArray* harness_gtk_nodes(GList* items, GList* (*submenu_items)(GObject* menu));
/* A label with GTK's mnemonic underscores doubled. */
char* harness_gtk_label(const char* title);

HarnessNode* harness_node_new(void);
void harness_node_free(gpointer node);

/* A file object of the file manager's API for tests, a URI and nothing else: defines the type
 * TestFileInfo implementing the interface IFACE_TYPE (whose vtable is Iface), the getter
 * tfi_get_uri, and `static Info* file_info(const char* uri)`. The last arguments fill the vtable,
 * e.g. `iface->get_uri = tfi_get_uri;`. */
#define HARNESS_DEFINE_FILE_INFO(Info, Iface, IFACE_TYPE, ...)                                     \
    typedef struct                                                                                 \
    {                                                                                              \
        GObject parent;                                                                            \
        char* uri;                                                                                 \
    } TestFileInfo;                                                                                \
    typedef struct                                                                                 \
    {                                                                                              \
        GObjectClass parent_class;                                                                 \
    } TestFileInfoClass;                                                                           \
    static GType test_file_info_get_type(void);                                                    \
    static void test_file_info_iface_init(Iface* iface);                                           \
    G_DEFINE_TYPE_WITH_CODE(TestFileInfo, test_file_info, G_TYPE_OBJECT,                           \
                            G_IMPLEMENT_INTERFACE(IFACE_TYPE, test_file_info_iface_init))          \
    static void test_file_info_finalize(GObject* object)                                           \
    {                                                                                              \
        g_free(((TestFileInfo*)object)->uri);                                                      \
        G_OBJECT_CLASS(test_file_info_parent_class)->finalize(object);                             \
    }                                                                                              \
    static void test_file_info_class_init(TestFileInfoClass* klass)                                \
    {                                                                                              \
        G_OBJECT_CLASS(klass)->finalize = test_file_info_finalize;                                 \
    }                                                                                              \
    static void test_file_info_init(TestFileInfo* self)                                            \
    {                                                                                              \
        (void)self;                                                                                \
    }                                                                                              \
    static char* tfi_get_uri(Info* info)                                                           \
    {                                                                                              \
        return g_strdup(((TestFileInfo*)info)->uri);                                               \
    }                                                                                              \
    static void test_file_info_iface_init(Iface* iface)                                            \
    {                                                                                              \
        __VA_ARGS__                                                                                \
    }                                                                                              \
    static Info* file_info(const char* uri)                                                        \
    {                                                                                              \
        TestFileInfo* info = g_object_new(test_file_info_get_type(), NULL);                        \
        info->uri = g_strdup(uri);                                                                 \
        return (Info*)info;                                                                        \
    }

G_END_DECLS
