// A minimal host application: loads a copy of the library at run time and
// runs the commands given on its command line, one output line per command.
// Functions are looked up by their exported (decorated) names, as a host
// built against the header finds them.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void* g_library = nullptr;

template <typename Function>
Function Lookup(const char* name) {
  void* symbol = g_library == nullptr ? nullptr : dlsym(g_library, name);
  if (symbol == nullptr) {
    std::printf("missing %s\n", name);
    std::exit(3);
  }
  return reinterpret_cast<Function>(symbol);
}

char* Arg(int argc, char** argv, int* i) {
  if (*i + 1 >= argc) {
    std::printf("missing argument\n");
    std::exit(2);
  }
  return argv[++*i];
}

void Convert(const char* symbol, unsigned short quantity, double value) {
  double result = 0;
  if (Lookup<bool (*)(unsigned short, double, double&)>(symbol)(quantity, value, result)) {
    std::printf("ok %.17g\n", result);
  } else {
    std::printf("fail\n");
  }
}

void Groups() {
  char buffer[4096];
  const int count = Lookup<int (*)(char*, unsigned long)>("_Z20UnitGetFilterEntriesPcm")(buffer, sizeof(buffer));
  std::printf("%d", count);
  const char* name = buffer;
  for (int i = 0; i < count; ++i) {
    std::printf(" %s", name);
    name += std::strlen(name) + 1;
  }
  std::printf("\n");
}

// Shared objects of the toolkit mapped into this process.
int MappedToolkitLibraries() {
  std::FILE* maps = std::fopen("/proc/self/maps", "r");
  int count = 0;
  char line[1024];
  while (maps != nullptr && std::fgets(line, sizeof(line), maps) != nullptr) {
    if (std::strstr(line, "libQt6Core") != nullptr && std::strstr(line, "r-xp") != nullptr) ++count;
  }
  if (maps != nullptr) std::fclose(maps);
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string command = argv[i];
    if (command == "load") {
      g_library = dlopen(Arg(argc, argv, &i), RTLD_NOW | RTLD_LOCAL);
      std::printf("%s\n", g_library != nullptr ? "loaded" : dlerror());
    } else if (command == "unload") {
      std::printf("%s\n", dlclose(g_library) == 0 ? "unloaded" : "still loaded");
      g_library = nullptr;
    } else if (command == "current") {
      const auto quantity = static_cast<unsigned short>(std::atoi(Arg(argc, argv, &i)));
      Convert("_Z14UnitGetCurrenttdRd", quantity, std::atof(Arg(argc, argv, &i)));
    } else if (command == "base") {
      const auto quantity = static_cast<unsigned short>(std::atoi(Arg(argc, argv, &i)));
      Convert("_Z11UnitGetBasetdRd", quantity, std::atof(Arg(argc, argv, &i)));
    } else if (command == "groups") {
      Groups();
    } else if (command == "index") {
      std::printf("%d\n", Lookup<int (*)()>("_Z18UnitGetFilterIndexv")());
    } else if (command == "textmode") {
      std::printf("%d\n", Lookup<unsigned short (*)(unsigned short)>("_Z11UnitGetModet")(1));
    } else if (command == "privilege") {
      const unsigned long mask = std::strtoul(Arg(argc, argv, &i), nullptr, 0);
      std::printf("%d\n", Lookup<bool (*)(unsigned long)>("_Z16UnitHasPrivilegem")(mask) ? 1 : 0);
    } else if (command == "selectunit") {
      const auto quantity = static_cast<unsigned short>(std::atoi(Arg(argc, argv, &i)));
      std::printf("%d\n", Lookup<bool (*)(unsigned short, unsigned long)>("_Z21UnitOpenSelectUnitDlgtm")(quantity, 0));
    } else if (command == "key") {  // key PATH USER: choose the registry key, which loads (and saves) it
      char* path = Arg(argc, argv, &i);
      char* user = Arg(argc, argv, &i);
      Lookup<void (*)(char*, char*, unsigned short)>("_Z18UnitChangeUserInfoPcS_t")(path, user, 0);
      std::printf("key\n");
    } else if (command == "edit") {
      std::printf("%d\n", Lookup<bool (*)(unsigned long)>("_Z8UnitEditm")(0));
    } else if (command == "toolkit") {
      std::printf("toolkit %d\n", MappedToolkitLibraries());
    } else {
      std::printf("unknown command %s\n", command.c_str());
      return 2;
    }
    std::fflush(stdout);
  }
  return 0;
}
