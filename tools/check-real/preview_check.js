// Opens a preview page in headless Chromium and checks what the browser really
// shows, and saves a screenshot.
//   preview_check.js PAGE SCREENSHOT
//     the sample: the colours of a keyword, a comment and a string, and the
//     configured font (the face Chromium renders the code with)
//   preview_check.js PAGE SCREENSHOT LINE TEXT FONTS
//     a project in another code page: line LINE of the code is TEXT, the page
//     holds no replacement character, and the faces that draw TEXT's characters
//     match the regular expression FONTS and draw all of them
const { chromium } = require('playwright-core');

const [pageFile, screenshot, lineNumber, lineText, fontPattern] = process.argv.slice(2);

function expectEqual(what, actual, expected) {
  if (actual !== expected) throw new Error(`${what}: ${actual}, erwartet ${expected}`);
  console.log(`ok  ${what}: ${actual}`);
}

// The faces Chromium draws the node with, and how many glyphs each drew.
async function drawnFonts(page, selector) {
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('DOM.enable');
  await cdp.send('CSS.enable');
  const { root } = await cdp.send('DOM.getDocument');
  const { nodeId } = await cdp.send('DOM.querySelector', { nodeId: root.nodeId, selector });
  const { fonts } = await cdp.send('CSS.getPlatformFontsForNode', { nodeId });
  return fonts;
}

async function checkSample(page) {
  const shown = await page.evaluate(() => {
    const spans = [...document.querySelectorAll('pre > span span')];
    const colourOf = (test) => {
      const span = spans.find((s) => test(s.textContent));
      return span ? getComputedStyle(span).color : 'nicht gefunden';
    };
    const code = document.querySelector('pre > span');
    return {
      charset: document.characterSet,
      keyword: colourOf((t) => t === 'Sub'),
      comment: colourOf((t) => t.startsWith("'") && !t.includes('*')),
      string: colourOf((t) => t.startsWith('"')),
      family: getComputedStyle(code).fontFamily,
      size: getComputedStyle(code).fontSize,
      umlaut: document.body.textContent.includes('Bestellvorschläge'),
    };
  });
  expectEqual('Zeichensatz', shown.charset, 'UTF-8');
  expectEqual('Schlüsselwort', shown.keyword, 'rgb(0, 0, 255)');
  expectEqual('Kommentar', shown.comment, 'rgb(0, 128, 0)');
  expectEqual('Zeichenkette', shown.string, 'rgb(255, 0, 0)');
  expectEqual('Schriftfamilie', shown.family, '"DejaVu Sans Mono", Arial');
  expectEqual('Schriftgröße', shown.size, '16px');
  expectEqual('Umlaute', shown.umlaut, true);
  const fonts = await drawnFonts(page, 'pre > span');
  expectEqual('gezeichnete Schrift', [...new Set(fonts.map((f) => f.familyName))].join(', '), 'DejaVu Sans Mono');
}

async function checkLine(page) {
  const wanted = lineText.trim();
  const shown = await page.evaluate(([number, text]) => {
    const lines = document.querySelector('pre').textContent.split(/\r?\n/);
    // The innermost element that holds the line's text: the face is asked for there.
    const holder = [...document.querySelectorAll('pre span')].reverse().find((s) => s.textContent.includes(text));
    if (holder) holder.setAttribute('data-check', '');
    return {
      charset: document.characterSet,
      line: lines[number - 1],
      replaced: document.body.textContent.includes('\uFFFD'),
      held: holder ? holder.textContent : null,
    };
  }, [Number(lineNumber), wanted]);
  expectEqual('Zeichensatz', shown.charset, 'UTF-8');
  expectEqual(`Zeile ${lineNumber}`, shown.line, lineText);
  expectEqual('Ersatzzeichen', shown.replaced, false);
  if (shown.held === null) throw new Error(`kein Element mit dem Text ${wanted}`);
  const fonts = await drawnFonts(page, '[data-check]');
  const faces = fonts.map((f) => `${f.familyName} (${f.glyphCount})`).join(', ');
  const pattern = new RegExp(fontPattern);
  const nonAscii = [...shown.held].filter((c) => c.codePointAt(0) > 0x7f).length;
  const drawn = fonts.filter((f) => pattern.test(f.familyName)).reduce((sum, f) => sum + f.glyphCount, 0);
  if (nonAscii === 0 || drawn < nonAscii) {
    throw new Error(`gezeichnete Schriften: ${faces}; ${nonAscii} Zeichen außerhalb ASCII, ${drawn} in /${fontPattern}/`);
  }
  console.log(`ok  gezeichnete Schriften: ${faces} (${nonAscii} Zeichen außerhalb ASCII in /${fontPattern}/)`);
}

(async () => {
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
  try {
    const page = await browser.newPage();
    await page.goto('file://' + pageFile);
    await (lineNumber === undefined ? checkSample(page) : checkLine(page));
    await page.setViewportSize({ width: 1000, height: 700 });
    await page.screenshot({ path: screenshot });
    console.log(`Bildschirmfoto: ${screenshot}`);
  } finally {
    await browser.close();
  }
})().catch((error) => {
  console.error(`FEHLER: ${error.message}`);
  process.exit(1);
});
