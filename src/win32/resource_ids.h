#pragma once

// Resource ids, shared by valvescope.rc and the code that loads them.
#define IDI_VALVESCOPE 1
