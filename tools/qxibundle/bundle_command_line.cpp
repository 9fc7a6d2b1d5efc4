#include "bundle_command_line.h"

namespace qxibundle {

BundleOptions ParseBundleCommandLine(const std::vector<std::string>& args) {
  BundleOptions options;
  std::vector<std::string> folders;
  struct Valued {
    const char* name;
    std::string BundleOptions::*field;
  };
  static const Valued kValued[] = {
      {"--out", &BundleOptions::out},         {"--name", &BundleOptions::name},
      {"--version", &BundleOptions::version}, {"--publisher", &BundleOptions::publisher},
      {"--icon", &BundleOptions::icon},       {"--install-dir", &BundleOptions::install_dir},
      {"--kit", &BundleOptions::kit},         {"--list", &BundleOptions::list},
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return options;
    }
    if (arg == "--per-user") {
      options.per_user = true;
      continue;
    }
    if (arg == "--force") {
      options.force = true;
      continue;
    }
    const Valued* valued = nullptr;
    for (const Valued& v : kValued) {
      if (arg == v.name) valued = &v;
    }
    if (valued != nullptr) {
      if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      options.*(valued->field) = args[++i];
    } else if (!arg.empty() && arg[0] == '-') {
      throw UsageError("unknown option " + arg);
    } else {
      folders.push_back(arg);
    }
  }
  if (!options.list.empty()) {
    if (!folders.empty() || !options.out.empty()) throw UsageError("--list takes no other file");
    return options;
  }
  if (folders.size() != 1) {
    throw UsageError(folders.empty() ? "no setup folder named" : "more than one setup folder");
  }
  if (options.out.empty()) throw UsageError("--out names no file");
  options.source_dir = folders[0];
  return options;
}

const char* BundleUsageText() {
  return "usage: qxibundle --out SETUP.EXE [--name NAME] [--version V] [--publisher P]\n"
         "                 [--icon FILE.ico] [--install-dir DIR] [--per-user] [--force]\n"
         "                 [--kit DIR] FOLDER\n"
         "       qxibundle --list SETUP.EXE\n"
         "Makes one setup program of FOLDER: FOLDER's setup.qxs (its master section Setup is\n"
         "what runs) and every file below FOLDER, with QXI.dll and the setup stub. The script\n"
         "is checked first; errors stop the build.\n"
         "  --out SETUP.EXE    the program to write\n"
         "  --name NAME        the product's name in Add/Remove Programs (default: FOLDER's name)\n"
         "  --version V        its version (default 1.0); leading numbers go to the version record\n"
         "  --publisher P      its publisher\n"
         "  --icon FILE.ico    the icon of the setup and of its uninstaller\n"
         "  --install-dir DIR  the installation's folder as the script writes it, folder macros\n"
         "                     allowed; the uninstaller is kept there (default $PROGRAMFILES$\\NAME)\n"
         "  --per-user         the setup runs without administrator rights and registers its\n"
         "                     uninstaller for the current user only\n"
         "  --force            build even when the check finds errors\n"
         "  --kit DIR          the folder of qxistub.exe and QXI.dll (default: qxibundle's own)\n"
         "  --list SETUP.EXE   check a setup as it checks itself and list its parts: where each\n"
         "                     lies, its stored and its original size\n"
         "Exit status: 0 built (or listed), 1 not built (a check error, a file that cannot be\n"
         "read) or not a sound setup, 2 bad usage.\n";
}

}  // namespace qxibundle
