// The extra steps after the files of the description file, in this order:
// the ODBC driver, the data-access component, the INI list, the REG list and
// the data modification by the vendor's library.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stelvane {

struct Installer;

// Runs the five steps; the result is the data modification's (true when it
// is not configured).
bool runExtraComponents(Installer& installer);

void installOdbcComponent(Installer& installer);
void installDataAccessComponent(Installer& installer);
void writeIniList(Installer& installer);
void writeRegistryList(Installer& installer);
bool runDataModification(Installer& installer);

// The entries of a [KXF] INI or REG list, each macro-expanded and split into
// its fields ("§§" between entries, "§" between fields). Empty entries are
// left out.
std::vector<std::vector<std::wstring>> listEntries(const Installer& installer, std::wstring_view list);

}  // namespace stelvane
