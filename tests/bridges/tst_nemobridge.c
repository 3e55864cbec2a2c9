/*
 * The Nemo bridge, loaded the way Nemo loads it (a GTypeModule opening the built module,
 * nemo_module_initialize, nemo_module_list_types, the provider type instantiated), asked
 * for menus with test NemoFileInfo objects. Nemo draws real separators.
 */
#include "bridgeharness.h"

#include <libnemo-extension/nemo-file-info.h>
#include <libnemo-extension/nemo-menu-provider.h>

/* ---- a NemoFileInfo for tests: a URI and nothing else ---- */

HARNESS_DEFINE_FILE_INFO(NemoFileInfo, NemoFileInfoInterface, NEMO_TYPE_FILE_INFO,
                         iface->get_uri = tfi_get_uri;
                         iface->get_activation_uri = tfi_get_uri;)

/* ---- the adapter ---- */

static NemoMenuProvider* provider;

static void load(void)
{
    const GType type = harness_load_module(PALLSTONE_BRIDGE_MODULE, "nemo");
    g_assert_true(g_type_is_a(type, NEMO_TYPE_MENU_PROVIDER));
    provider = NEMO_MENU_PROVIDER(g_object_new(type, NULL));
}

static GList* submenu_items(GObject* menu)
{
    return nemo_menu_get_items(NEMO_MENU(menu));
}

static GPtrArray* nodes(GList* items)
{
    return items ? harness_gtk_nodes(items, submenu_items) : NULL;
}

static GPtrArray* file_items(const char* uri)
{
    GList* files = g_list_append(NULL, file_info(uri));
    GList* items = nemo_menu_provider_get_file_items(provider, NULL, files);
    g_list_free_full(files, g_object_unref);
    return nodes(items);
}

static GPtrArray* background_items(const char* folder_uri)
{
    NemoFileInfo* folder = file_info(folder_uri);
    GList* items = nemo_menu_provider_get_background_items(provider, NULL, folder);
    g_object_unref(folder);
    return nodes(items);
}

static void activate(HarnessNode* node)
{
    nemo_menu_item_activate(NEMO_MENU_ITEM(node->native));
}

int main(int argc, char** argv)
{
    const BridgeAdapter adapter = {.file_manager = "nemo",
                                   .real_separators = TRUE,
                                   .icon_names = TRUE,
                                   .load = load,
                                   .file_items = file_items,
                                   .background_items = background_items,
                                   .activate = activate,
                                   .label = harness_gtk_label};
    return harness_main(argc, argv, &adapter);
}
