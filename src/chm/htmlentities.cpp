#include "chm/htmlentities.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "codepage/singlebyte.h"
#include "common/text.h"

namespace thc::chm {

namespace {

template <typename Name>
struct Entity {
  Name name;
  char32_t character;
};

// U+00A0 to U+00FF, in the order of their characters.
constexpr std::u16string_view latin1Names[] = {
    u"nbsp",   u"iexcl",  u"cent",   u"pound",  u"curren", u"yen",    u"brvbar", u"sect",
    u"uml",    u"copy",   u"ordf",   u"laquo",  u"not",    u"shy",    u"reg",    u"macr",
    u"deg",    u"plusmn", u"sup2",   u"sup3",   u"acute",  u"micro",  u"para",   u"middot",
    u"cedil",  u"sup1",   u"ordm",   u"raquo",  u"frac14", u"frac12", u"frac34", u"iquest",
    u"Agrave", u"Aacute", u"Acirc",  u"Atilde", u"Auml",   u"Aring",  u"AElig",  u"Ccedil",
    u"Egrave", u"Eacute", u"Ecirc",  u"Euml",   u"Igrave", u"Iacute", u"Icirc",  u"Iuml",
    u"ETH",    u"Ntilde", u"Ograve", u"Oacute", u"Ocirc",  u"Otilde", u"Ouml",   u"times",
    u"Oslash", u"Ugrave", u"Uacute", u"Ucirc",  u"Uuml",   u"Yacute", u"THORN",  u"szlig",
    u"agrave", u"aacute", u"acirc",  u"atilde", u"auml",   u"aring",  u"aelig",  u"ccedil",
    u"egrave", u"eacute", u"ecirc",  u"euml",   u"igrave", u"iacute", u"icirc",  u"iuml",
    u"eth",    u"ntilde", u"ograve", u"oacute", u"ocirc",  u"otilde", u"ouml",   u"divide",
    u"oslash", u"ugrave", u"uacute", u"ucirc",  u"uuml",   u"yacute", u"thorn",  u"yuml",
};
static_assert(std::size(latin1Names) == 0x60);

// The Greek capitals from U+0391; the small letters from U+03B1 take the
// same names in lower case. The list leaves out the code the capitals lack
// (U+03A2), where the small letters have the final sigma under a name of
// its own.
constexpr std::u16string_view greekCapitals[] = {
    u"Alpha", u"Beta",  u"Gamma",  u"Delta", u"Epsilon", u"Zeta", u"Eta", u"Theta",
    u"Iota",  u"Kappa", u"Lambda", u"Mu",    u"Nu",      u"Xi",   u"Omicron", u"Pi",
    u"Rho",   u"",      u"Sigma",  u"Tau",   u"Upsilon", u"Phi",  u"Chi", u"Psi", u"Omega",
};

constexpr Entity<std::u16string_view> otherEntities[] = {
    {u"quot", 0x22},      {u"amp", 0x26},      {u"apos", 0x27},     {u"lt", 0x3C},
    {u"gt", 0x3E},        {u"OElig", 0x152},   {u"oelig", 0x153},   {u"Scaron", 0x160},
    {u"scaron", 0x161},   {u"Yuml", 0x178},    {u"fnof", 0x192},    {u"circ", 0x2C6},
    {u"tilde", 0x2DC},    {u"sigmaf", 0x3C2},  {u"thetasym", 0x3D1}, {u"upsih", 0x3D2},
    {u"piv", 0x3D6},      {u"ensp", 0x2002},   {u"emsp", 0x2003},   {u"thinsp", 0x2009},
    {u"zwnj", 0x200C},    {u"zwj", 0x200D},    {u"lrm", 0x200E},    {u"rlm", 0x200F},
    {u"ndash", 0x2013},   {u"mdash", 0x2014},  {u"lsquo", 0x2018},  {u"rsquo", 0x2019},
    {u"sbquo", 0x201A},   {u"ldquo", 0x201C},  {u"rdquo", 0x201D},  {u"bdquo", 0x201E},
    {u"dagger", 0x2020},  {u"Dagger", 0x2021}, {u"bull", 0x2022},   {u"hellip", 0x2026},
    {u"permil", 0x2030},  {u"prime", 0x2032},  {u"Prime", 0x2033},  {u"lsaquo", 0x2039},
    {u"rsaquo", 0x203A},  {u"oline", 0x203E},  {u"frasl", 0x2044},  {u"euro", 0x20AC},
    {u"image", 0x2111},   {u"weierp", 0x2118}, {u"real", 0x211C},   {u"trade", 0x2122},
    {u"alefsym", 0x2135}, {u"larr", 0x2190},   {u"uarr", 0x2191},   {u"rarr", 0x2192},
    {u"darr", 0x2193},    {u"harr", 0x2194},   {u"crarr", 0x21B5},  {u"lArr", 0x21D0},
    {u"uArr", 0x21D1},    {u"rArr", 0x21D2},   {u"dArr", 0x21D3},   {u"hArr", 0x21D4},
    {u"forall", 0x2200},  {u"part", 0x2202},   {u"exist", 0x2203},  {u"empty", 0x2205},
    {u"nabla", 0x2207},   {u"isin", 0x2208},   {u"notin", 0x2209},  {u"ni", 0x220B},
    {u"prod", 0x220F},    {u"sum", 0x2211},    {u"minus", 0x2212},  {u"lowast", 0x2217},
    {u"radic", 0x221A},   {u"prop", 0x221D},   {u"infin", 0x221E},  {u"ang", 0x2220},
    {u"and", 0x2227},     {u"or", 0x2228},     {u"cap", 0x2229},    {u"cup", 0x222A},
    {u"int", 0x222B},     {u"there4", 0x2234}, {u"sim", 0x223C},    {u"cong", 0x2245},
    {u"asymp", 0x2248},   {u"ne", 0x2260},     {u"equiv", 0x2261},  {u"le", 0x2264},
    {u"ge", 0x2265},      {u"sub", 0x2282},    {u"sup", 0x2283},    {u"nsub", 0x2284},
    {u"sube", 0x2286},    {u"supe", 0x2287},   {u"oplus", 0x2295},  {u"otimes", 0x2297},
    {u"perp", 0x22A5},    {u"sdot", 0x22C5},   {u"lceil", 0x2308},  {u"rceil", 0x2309},
    {u"lfloor", 0x230A},  {u"rfloor", 0x230B}, {u"lang", 0x2329},   {u"rang", 0x232A},
    {u"loz", 0x25CA},     {u"spades", 0x2660}, {u"clubs", 0x2663},  {u"hearts", 0x2665},
    {u"diams", 0x2666},
};

// All names sorted for a binary search, built on first use and never changed.
class EntityTable {
 public:
  EntityTable() {
    for (size_t i = 0; i < std::size(latin1Names); ++i) {
      entities_.push_back({std::u16string(latin1Names[i]), static_cast<char32_t>(0xA0 + i)});
    }
    for (size_t i = 0; i < std::size(greekCapitals); ++i) {
      if (greekCapitals[i].empty()) continue;
      entities_.push_back({std::u16string(greekCapitals[i]), static_cast<char32_t>(0x391 + i)});
      entities_.push_back({lowerAscii(greekCapitals[i]), static_cast<char32_t>(0x3B1 + i)});
    }
    for (const auto& entity : otherEntities) entities_.push_back({std::u16string(entity.name), entity.character});
    std::sort(entities_.begin(), entities_.end(), [](const Named& a, const Named& b) { return a.name < b.name; });
  }

  char32_t find(std::u16string_view name) const {
    auto found = std::lower_bound(entities_.begin(), entities_.end(), name,
                                  [](const Named& entity, std::u16string_view key) { return entity.name < key; });
    return found != entities_.end() && found->name == name ? found->character : 0;
  }

 private:
  using Named = Entity<std::u16string>;
  std::vector<Named> entities_;
};

}  // namespace

char32_t namedCharacter(std::u16string_view name) {
  static const EntityTable table;
  return table.find(name);
}

char32_t referencedCharacter(char32_t number) {
  if (number == 0 || number > 0x10FFFF || (number >= 0xD800 && number <= 0xDFFF)) return 0xFFFD;
  if (number >= 0x80 && number <= 0x9F) {
    const char16_t windows = (*singleByteCodePage(1252))[number - 0x80];
    if (windows != 0) return windows;
  }
  return number;
}

}  // namespace thc::chm
