/*
 * The Thunar bridge, loaded the way Thunar loads it (libthunarx's ThunarxProviderModule opens the
 * module, thunar_extension_initialize, thunar_extension_list_types, the provider type
 * instantiated), asked for the file and folder menus with test ThunarxFileInfo objects.
 */
#include "bridgeharness.h"

#include <thunarx/thunarx.h>
/* The loader Thunar uses, which thunarx.h does not declare. */
#define THUNARX_INSIDE_THUNARX_H
#include <thunarx/thunarx-provider-module.h>
#undef THUNARX_INSIDE_THUNARX_H

/* ---- a ThunarxFileInfo for tests: a URI and nothing else ---- */

HARNESS_DEFINE_FILE_INFO(ThunarxFileInfo, ThunarxFileInfoIface, THUNARX_TYPE_FILE_INFO,
                         iface->get_uri = tfi_get_uri;)

/* ---- the adapter ---- */

static ThunarxMenuProvider* provider;

/* Thunar's own module loader looks only in the system's extension folders (Debian's libthunarx
 * ignores THUNARX_DIRS): the built module is named from there, by a path that climbs to the root.
 */
static void load(void)
{
    char* name = g_strconcat("../../../../../../../..", PALLSTONE_BRIDGE_MODULE, NULL);
    ThunarxProviderModule* module = thunarx_provider_module_new(name);
    g_free(name);
    g_assert_true(g_type_module_use(G_TYPE_MODULE(module)));
    const GType* types = NULL;
    gint count = 0;
    thunarx_provider_module_list_types(module, &types, &count);
    g_assert_cmpint(count, ==, 1);
    g_assert_true(g_type_is_a(types[0], THUNARX_TYPE_MENU_PROVIDER));
    provider = THUNARX_MENU_PROVIDER(g_object_new(types[0], NULL));
}

static GList* submenu_items(GObject* menu)
{
    return thunarx_menu_get_items(THUNARX_MENU(menu));
}

static GPtrArray* nodes(GList* items)
{
    return items ? harness_gtk_nodes(items, submenu_items) : NULL;
}

/* Thunar passes its window, which the bridge does not use; the test has no display to make one,
 * so it calls the provider's functions without thunarx's check for a widget. */
static GPtrArray* file_items(const char* uri)
{
    GList* files = g_list_append(NULL, file_info(uri));
    GList* items =
        THUNARX_MENU_PROVIDER_GET_IFACE(provider)->get_file_menu_items(provider, NULL, files);
    g_list_free_full(files, g_object_unref);
    return nodes(items);
}

static GPtrArray* background_items(const char* folder_uri)
{
    ThunarxFileInfo* folder = file_info(folder_uri);
    GList* items =
        THUNARX_MENU_PROVIDER_GET_IFACE(provider)->get_folder_menu_items(provider, NULL, folder);
    g_object_unref(folder);
    return nodes(items);
}

static void activate(HarnessNode* node)
{
    thunarx_menu_item_activate(THUNARX_MENU_ITEM(node->native));
}

int main(int argc, char** argv)
{
    const BridgeAdapter adapter = {.file_manager = "thunar",
                                   .real_separators = FALSE,
                                   .icon_names = TRUE,
                                   .load = load,
                                   .file_items = file_items,
                                   .background_items = background_items,
                                   .activate = activate,
                                   .label = harness_gtk_label};
    return harness_main(argc, argv, &adapter);
}
