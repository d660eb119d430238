// SPDX-License-Identifier: GPL-2.0-or-later
// Command-line access to the note format: penwick-rtf text|json FILE, penwick-rtf rtf IN OUT.
#include <cstdio>

int main()
{
    std::fputs("usage: penwick-rtf text FILE | json FILE | rtf IN OUT\n", stderr);
    return 2;
}
