#include "service/dialog_plugin.h"

#include "platform/debug_output.h"
#include "platform/files.h"
#include "platform/shared_library.h"

namespace units {
namespace {

using PluginEntry = const DialogPlugin* (*)();

const DialogPlugin* OpenPlugin(const std::string& module_folder) {
  // Beside the library (a build tree, a copied folder), else in the
  // library's private folder, where an installed system keeps its plugins.
  std::string path = module_folder + kDialogPluginFile;
  if (!platform::FileExists(path)) path = module_folder + kDialogPluginFolder + kDialogPluginFile;
  std::string error;
  void* library = platform::OpenSharedLibrary(path, &error);
  if (library == nullptr) {
    platform::DebugOutput("Mensora: dialogs unavailable: " + error);
    return nullptr;
  }
  auto entry = reinterpret_cast<PluginEntry>(platform::FindSymbol(library, kDialogPluginEntry));
  const DialogPlugin* plugin = entry != nullptr ? entry() : nullptr;
  if (plugin == nullptr || plugin->version != kDialogPluginVersion) {
    platform::DebugOutput("Mensora: dialogs unavailable: " + path + " is not a dialogs plugin of this build");
    return nullptr;
  }
  return plugin;
}

}  // namespace

const DialogPlugin* LoadDialogPlugin(const std::string& module_folder) { return OpenPlugin(module_folder); }

}  // namespace units
