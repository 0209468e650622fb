// The key that holds the game accounts, under HKEY_CURRENT_USER and outside the
// product's settings tree, so neither a reset nor an uninstall removes the accounts.
#pragma once

#include <string>

// The absolute path of the account key. It is kept only as character codes and put
// together on each call, so the plain path never sits in the program's data.
std::string AccountKey();
