#include "status/builtin_skins.h"

#include "config/ini_file.h"

namespace tarvik {
namespace {

// The standard skin.
constexpr std::string_view kStandardSkin = R"qsf([skin]
separated=0
double=1

[skin:compact:points]
1x=0
1y=0
2x=0
2y=5
3x=0
3y=10
4x=0
4y=15
5x=0
5y=20
6x=18
6y=20
7x=36
7y=20
8x=54
8y=20
9x=75
9y=20
10x=75
10y=15
11x=75
11y=10
12x=75
12y=5
13x=75
13y=0
14x=54
14y=0
15x=36
15y=0
16x=18
16y=0

[skin:compact]
shadow_use=1
shadow_color=16448250

[skin:compact:time]
x=13
y=-2
h=13
w=55
a=0
b=1
c=6566425
s=8
k=204
f=Courier New

[skin:compact:money]
x=13
y=7
h=12
w=50
a=0
b=1
c=6566425
s=8
k=204
f=Courier New

[skin:compact:currency]
x=54
y=7
h=12
w=15
a=1
b=0
c=6566425
s=8
k=204
f=Courier New

[skin:compact:entry]
x=13
y=17
h=11
w=55
a=0
b=1
c=16777215
s=7
k=1
f=Small Fonts

[skin:compact:tariff]
x=13
y=26
h=11
w=55
a=0
b=1
c=6566425
s=7
k=1
f=Small Fonts

[skin:compact:face]
x=0
y=0
h=40
w=75
s=1

[skin:compact:indicator]
x=3
y=3
h=14
w=8
s=1

[skin:compact:hide]
x=70
y=1
h=18
w=4
s=0

[skin:compact:switch]
x=3
y=22
h=13
w=8
s=0

[skin:full:points]
1x=0
1y=0
2x=0
2y=10
3x=0
3y=20
4x=0
4y=30
5x=0
5y=40
6x=18
6y=40
7x=36
7y=40
8x=54
8y=40
9x=75
9y=40
10x=75
10y=30
11x=75
11y=20
12x=75
12y=10
13x=75
13y=0
14x=54
14y=0
15x=36
15y=0
16x=18
16y=0

[skin:full]
shadow_use=1
shadow_color=16448250

[skin:full:time]
x=13
y=-2
h=12
w=55
a=0
b=1
c=6566425
s=8
k=204
f=Courier New

[skin:full:money]
x=13
y=7
h=12
w=50
a=0
b=1
c=6566425
s=8
k=204
f=Courier New

[skin:full:currency]
x=54
y=7
h=11
w=15
a=1
b=0
c=6566425
s=8
k=204
f=Courier New

[skin:full:entry]
x=13
y=18
h=12
w=55
a=0
b=1
c=6566425
s=7
k=204
f=Small Fonts

[skin:full:tariff]
x=13
y=27
h=12
w=55
a=0
b=1
c=6566425
s=7
k=204
f=Small Fonts

[skin:full:face]
x=0
y=0
h=40
w=75
s=1

[skin:full:indicator]
x=3
y=3
h=14
w=8
s=1

[skin:full:hide]
x=70
y=1
h=18
w=4
s=0

[skin:full:switch]
x=3
y=22
h=13
w=8
s=0
)qsf";

// The advanced skin.
constexpr std::string_view kAdvancedSkin = R"qsf([skin]
separated=0
double=1

[skin:compact:points]
1x=18
1y=0
2x=12
2y=3
3x=9
3y=5
4x=5
4y=9
5x=3
5y=12
6x=0
6y=18
7x=0
7y=22
8x=1
8y=25
9x=4
9y=26
10x=93
10y=26
11x=96
11y=25
12x=97
12y=22
13x=97
13y=11
14x=99
14y=9
15x=99
15y=2
16x=97
16y=0

[skin:compact]
shadow_use=1
shadow_color=16777215

[skin:compact:time]
x=28
y=-2
h=11
w=60
a=0
b=1
c=9856050
s=8
k=204
f=Courier New

[skin:compact:money]
x=28
y=10
h=13
w=60
a=0
b=1
c=9856050
s=8
k=204
f=Courier New

[skin:compact:currency]
x=81
y=10
h=15
w=15
a=1
b=1
c=9856050
s=8
k=204
f=Arial

[skin:compact:entry]
x=0
y=55
h=0
w=0
a=0
b=0
c=0
s=7
k=204
f=Arial

[skin:compact:tariff]
x=0
y=50
h=0
w=0
a=0
b=0
c=0
s=7
k=204
f=Arial

[skin:compact:face]
x=0
y=0
h=50
w=100
s=1

[skin:compact:indicator]
x=1
y=0
h=25
w=25
s=0

[skin:compact:hide]
x=93
y=1
h=10
w=5
s=0

[skin:compact:switch]
x=87
y=1
h=10
w=5
s=0

[skin:full:points]
1x=18
1y=0
2x=12
2y=3
3x=9
3y=5
4x=5
4y=9
5x=3
5y=12
6x=0
6y=18
7x=0
7y=47
8x=1
8y=49
9x=4
9y=50
10x=93
10y=50
11x=96
11y=49
12x=97
12y=47
13x=97
13y=11
14x=99
14y=9
15x=99
15y=2
16x=97
16y=0

[skin:full]
shadow_use=1
shadow_color=16777215

[skin:full:time]
x=28
y=-2
h=11
w=60
a=0
b=1
c=9856050
s=8
k=204
f=Courier New

[skin:full:money]
x=28
y=10
h=13
w=60
a=0
b=1
c=9856050
s=8
k=204
f=Courier New

[skin:full:currency]
x=81
y=10
h=15
w=15
a=1
b=1
c=9856050
s=8
k=204
f=Arial

[skin:full:entry]
x=29
y=33
h=15
w=60
a=0
b=1
c=9856050
s=8
k=204
f=Courier New

[skin:full:tariff]
x=29
y=22
h=15
w=60
a=0
b=1
c=9856050
s=8
k=204
f=Courier New

[skin:full:face]
x=0
y=0
h=50
w=100
s=1

[skin:full:indicator]
x=1
y=0
h=25
w=25
s=0

[skin:full:hide]
x=93
y=1
h=10
w=5
s=0

[skin:full:switch]
x=87
y=1
h=10
w=5
s=0
)qsf";

}  // namespace

std::unique_ptr<SkinKeys> builtinSkinKeys(BuiltinSkin skin) {
  return std::make_unique<DocumentSkinKeys>(IniDocument::fromUtf8(builtinSkinText(skin)));
}

BuiltinSkin builtinSkinFor(std::string_view skinName) {
  // The comparison is exact: "advanced" selects the standard skin.
  return skinName == "Advanced" ? BuiltinSkin::Advanced : BuiltinSkin::Standard;
}

std::string_view builtinSkinText(BuiltinSkin skin) {
  return skin == BuiltinSkin::Advanced ? kAdvancedSkin : kStandardSkin;
}

std::string_view builtinSkinPrefix(BuiltinSkin skin) {
  return skin == BuiltinSkin::Advanced ? "A_" : "D_";
}

}  // namespace tarvik
