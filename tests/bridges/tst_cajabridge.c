/*
 * The Caja bridge, loaded the way Caja loads it (a GTypeModule opening the built module,
 * caja_module_initialize, caja_module_list_types, the provider type instantiated), asked
 * for menus with test CajaFileInfo objects. Caja asks for the items again when one is chosen and
 * fires the item it finds under the same name: so does this test.
 */
#include "bridgeharness.h"

#include <libcaja-extension/caja-file-info.h>
#include <libcaja-extension/caja-menu-provider.h>
#include <libcaja-extension/caja-menu.h>

/* ---- a CajaFileInfo for tests: a URI and nothing else ---- */

HARNESS_DEFINE_FILE_INFO(CajaFileInfo, CajaFileInfoIface, CAJA_TYPE_FILE_INFO,
                         iface->get_uri = tfi_get_uri;
                         iface->get_activation_uri = tfi_get_uri;)

/* ---- the adapter ---- */

static CajaMenuProvider* provider;

/* The inputs of the last menu, asked for again at activation. */
static char* last_uri;
static gboolean last_was_background;

static void remember(const char* uri, gboolean background)
{
    g_free(last_uri);
    last_uri = g_strdup(uri);
    last_was_background = background;
}

static void load(void)
{
    const GType type = harness_load_module(PALLSTONE_BRIDGE_MODULE, "caja");
    g_assert_true(g_type_is_a(type, CAJA_TYPE_MENU_PROVIDER));
    provider = CAJA_MENU_PROVIDER(g_object_new(type, NULL));
}

static GList* submenu_items(GObject* menu)
{
    return caja_menu_get_items(CAJA_MENU(menu));
}

static GPtrArray* nodes(GList* items)
{
    return items ? harness_gtk_nodes(items, submenu_items) : NULL;
}

static GPtrArray* file_items(const char* uri)
{
    remember(uri, FALSE);
    GList* files = g_list_append(NULL, file_info(uri));
    GList* items = caja_menu_provider_get_file_items(provider, NULL, files);
    g_list_free_full(files, g_object_unref);
    return nodes(items);
}

static GPtrArray* background_items(const char* folder_uri)
{
    remember(folder_uri, TRUE);
    CajaFileInfo* folder = file_info(folder_uri);
    GList* items = caja_menu_provider_get_background_items(provider, NULL, folder);
    g_object_unref(folder);
    return nodes(items);
}

static CajaMenuItem* find_named(GList* items, const char* name)
{
    for (GList* l = items; l; l = l->next) {
        char* item_name = NULL;
        CajaMenu* submenu = NULL;
        g_object_get(l->data, "name", &item_name, "menu", &submenu, NULL);
        const gboolean same = g_strcmp0(item_name, name) == 0;
        g_free(item_name);
        CajaMenuItem* found = same ? g_object_ref(l->data) : NULL;
        if (!found && submenu) {
            GList* children = caja_menu_get_items(submenu);
            found = find_named(children, name);
            caja_menu_item_list_free(children);
        }
        g_clear_object(&submenu);
        if (found)
            return found;
    }
    return NULL;
}

static void activate(HarnessNode* node)
{
    GList* items = NULL;
    if (last_was_background) {
        CajaFileInfo* folder = file_info(last_uri);
        items = caja_menu_provider_get_background_items(provider, NULL, folder);
        g_object_unref(folder);
    } else {
        GList* files = g_list_append(NULL, file_info(last_uri));
        items = caja_menu_provider_get_file_items(provider, NULL, files);
        g_list_free_full(files, g_object_unref);
    }
    CajaMenuItem* again = find_named(items, node->name);
    g_assert_nonnull(again);
    caja_menu_item_activate(again);
    g_object_unref(again);
    caja_menu_item_list_free(items);
}

int main(int argc, char** argv)
{
    const BridgeAdapter adapter = {.file_manager = "caja",
                                   .real_separators = FALSE,
                                   .icon_names = TRUE,
                                   .load = load,
                                   .file_items = file_items,
                                   .background_items = background_items,
                                   .activate = activate,
                                   .label = harness_gtk_label};
    return harness_main(argc, argv, &adapter);
}
