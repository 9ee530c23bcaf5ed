#include "support/code_page_projects.h"

#include <stdexcept>

#include "sources/vba/code_page.h"
#include "support/office_file_writer.h"
#include "support/temp_folder.h"

namespace cq::test {

namespace {

// The text in the project's code page; a sample that does not fit is a mistake of the table.
std::string inCodePage(const CodePageProject& project, const std::string& text) {
  std::optional<std::string> bytes = textToCodePage(text, project.codePage);
  if (!bytes) throw std::logic_error(project.label + ": text beyond its code page: " + text);
  return std::move(*bytes);
}

}  // namespace

const std::vector<CodePageProject>& codePageProjects() {
  static const std::vector<CodePageProject> projects = {
      // "表" and "ー" end in the bytes of \ and [ in Shift-JIS, "똠" in a Latin letter in code page 949.
      {932, "Japanese932", false, "販売管理", "集計表", "顧客データ", "売上合計", "売上合計", "一覧表示",
       "旧形式出力", "印刷", "印刷", "請求書作成", "新", "額", "税率", "税率", "税率表",
       {"売上データを月ごとに集計するモジュールです。", "締め処理の前に必ずバックアップを取ってください。",
        "消費税を含めた金額を計算します。", "顧客ごとの請求書を作成するクラスです。"},
       "売上合計を表示しました。", "この処理は使われていません"},
      {936, "ChineseSimplified936", false, "销售管理", "数据汇总", "客户信息", "计算总额", "计算总额", "月末结算",
       "旧版导出", "打印报表", "打印报表", "生成发票", "新", "值", "单价", "单价", "单价表",
       {"本模块按月汇总销售数据。", "结算之前请先备份工作簿。", "计算含税金额并显示结果。",
        "为每个客户开具发票的类。"},
       "总额已经计算完毕。", "此过程已不再使用"},
      {949, "Korean949", false, "판매관리", "매출집계", "고객정보", "합계계산", "합계계산", "월말정산",
       "이전형식출력", "보고서인쇄", "보고서인쇄", "청구서작성", "새", "값", "단가", "단가", "단가표",
       {"이 모듈은 월별 매출 데이터를 집계합니다.", "정산하기 전에 반드시 통합 문서를 백업하십시오. 거래처 예: 똠방상회",
        "부가세를 포함한 금액을 계산합니다.", "고객별 청구서를 작성하는 클래스입니다."},
       "합계를 계산했습니다.", "이 프로시저는 더 이상 사용되지 않습니다"},
      {950, "ChineseTraditional950", false, "銷售管理", "資料彙總", "客戶資訊", "計算總額", "計算總額", "月底結算",
       "舊版匯出", "列印報表", "列印報表", "產生發票", "新", "值", "單價", "單價", "單價表",
       {"本模組按月彙總銷售資料。", "結算之前請先備份活頁簿。", "計算含稅金額並顯示結果。",
        "為每位客戶開立發票的類別。"},
       "總額已經計算完畢。", "此程序已不再使用"},
      {1250, "CentralEuropean1250", true, "Księgowość", "Należności", "Dłużnik", "ObliczSumę", "OBLICZSUMĘ",
       "ZamknijMiesiąc", "archiwizujŹródła", "WyślijŻądanie", "wyślijżądanie", "WystawFakturę", "ł", "é", "łączna",
       "ŁĄCZNA", "łącznaKwota",
       {"Moduł oblicza należności klientów za każdy miesiąc.",
        "Przed zamknięciem miesiąca zrób kopię zapasową skoroszytu.",
        "wynik zawiera podatek VAT; Größe (niem.) oznacza rozmiar.",
        "Třída vystavuje faktury pro dlužníky české pobočky."},
       "Suma została obliczona.", "Ta procedura nie jest już używana"},
      {1251, "Cyrillic1251", true, "Бухгалтерия", "Расчёты", "Покупатель", "ПосчитатьИтог", "ПОСЧИТАТЬИТОГ",
       "ЗакрытьМесяц", "архивироватьДанные", "ПечатьОтчёта", "печатьотчёта", "ВыставитьСчёт", "з", "а", "цвет",
       "ЦВЕТ", "цветФона",
       {"Модуль считает задолженность покупателей за каждый месяц.",
        "Перед закрытием месяца сохраните резервную копию книги.", "итог включает НДС и скидки.",
        "Класс выставляет счета покупателям."},
       "Итог посчитан.", "Эта процедура больше не используется"},
      {1253, "Greek1253", true, "Λογιστήριο", "Υπολογισμοί", "Πελάτης", "ΥπολόγισεΣύνολο", "ΥΠΟΛΌΓΙΣΕΣΎΝΟΛΟ",
       "ΚλείσιμοΜήνα", "αρχειοθέτησηΔεδομένων", "ΕκτύπωσηΑναφοράς", "εκτύπωσηαναφοράς", "ΈκδοσηΤιμολογίου", "ν",
       "ς", "φόρος", "ΦΌΡΟΣ", "φόροςΠωλήσεων",
       {"Η ενότητα υπολογίζει τις οφειλές των πελατών για κάθε μήνα.",
        "Πριν από το κλείσιμο του μήνα κρατήστε αντίγραφο ασφαλείας.", "το σύνολο περιλαμβάνει τον ΦΠΑ.",
        "Η κλάση εκδίδει τιμολόγια για τους πελάτες."},
       "Το σύνολο υπολογίστηκε.", "Αυτή η διαδικασία δεν χρησιμοποιείται πια"},
      {1255, "Hebrew1255", false, "חשבונות", "חישובים", "לקוח", "חשבסכום", "חשבסכום", "סגירתחודש", "ארכוןנתונים",
       "הדפסתדוח", "הדפסתדוח", "הפקתחשבונית", "ו", "ה", "מחיר", "מחיר", "מחירליחידה",
       {"המודול מחשב את יתרות הלקוחות לכל חודש.", "לפני סגירת החודש יש לשמור עותק גיבוי של החוברת.",
        "הסכום כולל מס ערך מוסף.", "המחלקה מפיקה חשבוניות ללקוחות. שָׁלוֹם"},
       "הסכום חושב.", "השגרה הזאת אינה בשימוש"},
  };
  return projects;
}

std::vector<std::string> standardModuleLines(const CodePageProject& p) {
  return {"Option Explicit",
          "' " + p.comments[0],
          "' " + p.comments[1],
          "Private " + p.word + " As Long",
          "Private " + p.wordCompound + " As Long",
          "",
          "Public Sub " + p.routine + "()",
          "    ' " + p.wordOtherCase + ": " + p.comments[2],
          "    " + p.word + " = " + p.wordCompound + " + 1",
          "    MsgBox \"" + p.literal + "\"",
          "End Sub",
          "",
          "Public Sub " + p.caller + "()",
          "    Dim " + p.routine + p.suffix + " As Long, " + p.prefix + p.routine + " As Long",
          "    " + p.routine + p.suffix + " = " + p.prefix + p.routine,
          "    " + p.routine,
          "End Sub",
          "",
          "Private Sub " + p.unused + "()",
          "    Debug.Print \"" + p.unusedLiteral + "\"",
          "End Sub",
          "",
          "Public Sub " + p.shared + "()",
          "End Sub"};
}

std::vector<std::string> classModuleLines(const CodePageProject& p) {
  return {"Option Explicit",
          "' " + p.comments[3],
          "Public Sub " + p.method + "()",
          "    " + p.routine,
          "End Sub",
          "",
          "Public Sub " + p.sharedOtherCase + "()",
          "End Sub"};
}

std::vector<std::string> classModuleAttributes() {
  return {"Attribute VB_GlobalNameSpace = False", "Attribute VB_Creatable = False",
          "Attribute VB_PredeclaredId = False", "Attribute VB_Exposed = False"};
}

std::string joinedLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

long lineNumberOf(const std::vector<std::string>& lines, const std::string& line) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == line) return static_cast<long>(i + 1);
  return 0;
}

VbaProjectPlan codePagePlan(const CodePageProject& project) {
  VbaProjectPlan plan;
  plan.name = inCodePage(project, project.project);
  plan.codePage = project.codePage;
  plan.modules.push_back({inCodePage(project, project.standardModule), project.standardModule, 1,
                          inCodePage(project, joinedLines(standardModuleLines(project)))});
  plan.modules.push_back(
      {inCodePage(project, project.classModule), project.classModule, 2,
       inCodePage(project, joinedLines(classModuleAttributes()) + joinedLines(classModuleLines(project)))});
  return plan;
}

std::filesystem::path writeCodePageWorkbook(const CodePageProject& project, const TempFolder& folder) {
  return folder.writeFile(project.label + ".xlsm", macroWorkbookBytes(buildVbaProjectStreams(codePagePlan(project))));
}

}  // namespace cq::test
