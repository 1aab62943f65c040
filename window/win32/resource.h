#pragma once

// Resource ids, shared by karbelon.rc and the C++ sources.
#define IDI_KARBELON 1
