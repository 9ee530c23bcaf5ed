// Opens the preview page in headless Chromium and checks what the browser
// really shows: the colours of a keyword, a comment and a string, and the
// configured font (the face Chromium renders the code with). Saves a screenshot.
const { chromium } = require('playwright-core');

const [page_file, screenshot] = process.argv.slice(2);

function expectEqual(what, actual, expected) {
  if (actual !== expected) throw new Error(`${what}: ${actual}, erwartet ${expected}`);
  console.log(`ok  ${what}: ${actual}`);
}

(async () => {
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
  try {
    const page = await browser.newPage();
    await page.goto('file://' + page_file);
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
    // The face Chromium actually draws the code with.
    const cdp = await page.context().newCDPSession(page);
    await cdp.send('DOM.enable');
    await cdp.send('CSS.enable');
    const { root } = await cdp.send('DOM.getDocument');
    const { nodeId } = await cdp.send('DOM.querySelector', { nodeId: root.nodeId, selector: 'pre > span' });
    const { fonts } = await cdp.send('CSS.getPlatformFontsForNode', { nodeId });
    expectEqual('gezeichnete Schrift', [...new Set(fonts.map((f) => f.familyName))].join(', '), 'DejaVu Sans Mono');
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
