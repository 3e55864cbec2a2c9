/*
 * The Nautilus bridge, loaded the way Nautilus loads it (a GTypeModule opening the built module,
 * nautilus_module_initialize, nautilus_module_list_types, the provider type instantiated), asked
 * for menus with test NautilusFileInfo objects.
 */
#include "bridgeharness.h"

#include <nautilus-extension.h>

/* ---- a NautilusFileInfo for tests: a URI and nothing else ---- */

HARNESS_DEFINE_FILE_INFO(NautilusFileInfo, NautilusFileInfoInterface, NAUTILUS_TYPE_FILE_INFO,
                         iface->get_uri = tfi_get_uri;
                         iface->get_activation_uri = tfi_get_uri;)

/* ---- the adapter ---- */

static NautilusMenuProvider* provider;

static void load(void)
{
    const GType type = harness_load_module(PALLSTONE_BRIDGE_MODULE, "nautilus");
    g_assert_true(g_type_is_a(type, NAUTILUS_TYPE_MENU_PROVIDER));
    provider = NAUTILUS_MENU_PROVIDER(g_object_new(type, NULL));
}

static GList* submenu_items(GObject* menu)
{
    return nautilus_menu_get_items(NAUTILUS_MENU(menu));
}

static GPtrArray* nodes(GList* items)
{
    return items ? harness_gtk_nodes(items, submenu_items) : NULL;
}

static GPtrArray* file_items(const char* uri)
{
    GList* files = g_list_append(NULL, file_info(uri));
    GList* items = nautilus_menu_provider_get_file_items(provider, files);
    g_list_free_full(files, g_object_unref);
    return nodes(items);
}

static GPtrArray* background_items(const char* folder_uri)
{
    NautilusFileInfo* folder = file_info(folder_uri);
    GList* items = nautilus_menu_provider_get_background_items(provider, folder);
    g_object_unref(folder);
    return nodes(items);
}

static void activate(HarnessNode* node)
{
    nautilus_menu_item_activate(NAUTILUS_MENU_ITEM(node->native));
}

int main(int argc, char** argv)
{
    const BridgeAdapter adapter = {.file_manager = "nautilus",
                                   .real_separators = FALSE,
                                   .icon_names = TRUE,
                                   .load = load,
                                   .file_items = file_items,
                                   .background_items = background_items,
                                   .activate = activate,
                                   .label = harness_gtk_label};
    return harness_main(argc, argv, &adapter);
}
