// Resource identifiers shared by quenlar.rc and the window code.
#pragma once

#define IDI_QUENLAR 1
