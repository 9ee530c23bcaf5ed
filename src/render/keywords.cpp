#include "render/keywords.h"

namespace cq {

const std::string_view kKeywordList =
    " Option Base 1 , Option Private Module , Option Explicit , Option Compare Text , Option Compare Database , "
    "Access , And , As , Binary , Boolean , ByRef , Byte , ByVal , Call , Case , Cbool , Cbyte , Cint , Clng , "
    "Close , Const , Debug , Declare , DefBool , DefByte , DefCur , DefDate , DefDbl , DefDec , DefInt , DefLng , "
    "DefObj , DefSng , DefStr , DefVar , Dim , Do , Double , Else , ElseIf , Empty , End , Enum , Erase , Error , "
    "Event , Exit , Explicit , False , For , Friend , Function , Get , Global , GoSub , GoTo , If , Input , "
    "Integer , Is , LBound , Let , Lib , Lock , Long , Loop , Mid , New , Next , Not , Nothing , Null , Object , "
    "On , Open , Preserve , Optional , Or , ParamArray , Print , Private , Property , Public , Put , RaiseEvent , "
    "Random , Redim , Resume , Seek , Select , Set , Shared , Single , Static , Step , Stop , String , Sub , Then , "
    "To , True , Type , UBound , Unlock , Until , Variant , Wend , While , With , WithEvents , Write ";

const std::vector<std::string_view>& keywordItems() {
  static const std::vector<std::string_view> items = [] {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (true) {
      const std::size_t comma = kKeywordList.find(',', start);
      out.push_back(kKeywordList.substr(start, comma == std::string_view::npos ? std::string_view::npos
                                                                                : comma - start));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
    return out;
  }();
  return items;
}

}  // namespace cq
