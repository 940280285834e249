// Resource ids of the program's forms.
#pragma once

#define IDI_NOTOVA 1
