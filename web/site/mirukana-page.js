// The page over the core (mirukana.js): shows the open project's inputs,
// writes every edit into the core's record, and shows what the core
// computes.  The choices between typed and computed values follow the
// desktop screens; numbers, messages and the report all come from the core.
'use strict';

(function () {
  const RIVER_COURSE_SOURCE = '茨城県宅地開発関係資料集による(茨城県土木部都市局建築指導課)';
  const NOTICE_MAIN = '計画雨水、汚水量の計算 及び 粗度係数（ｎ）は、各地域の開発指導要綱等による事｡';
  const NOTICE_INTENSITY = '雨量強度式 及び 到達時間 （ｔ） の計算は、各地域の開発指導要綱等による事｡';
  const RULE = '―';

  let core = null;
  let project = null;
  let fileName = '';
  const opened = new Set();  // sections shown besides the main inputs and the facility

  // After Open and New: the sections of the values computed on them.
  function openInForce() {
    opened.clear();
    if (get('Form25.opt6')) opened.add('Form16');
    if (get('Form25.opt4')) opened.add('Form12');
    const sewageClass = get('Form28.opt1') || get('Form28.opt2') || get('Form28.opt3');
    if (get('Form25.opt7') && sewageClass) opened.add('Form28');
  }

  const $ = (id) => document.getElementById(id);
  const idOf = (field) => field.replace('.', '-');
  const get = (field) => project.get(field);
  const set = (field, value) => project.set(field, value);

  // ---------------------------------------------------------------- messages

  function status(text) { $('status').textContent = text || ''; }

  // A failed check: the message, and the focus on the input it names.
  function fail(message, focus) {
    $('message-text').textContent = message;
    $('message').hidden = false;
    if (focus) focusControl(focus);
  }
  function clearMessage() { $('message').hidden = true; $('message-text').textContent = ''; }

  function focusControl(name) {
    const form = name.split('.')[0];
    if (['Form16', 'Form12', 'Form28', 'Form13', 'Form22'].includes(form)) opened.add(form);
    if (['Form17', 'Form18', 'Form19', 'Form20', 'Form21'].includes(form)) opened.add('Form12');
    refresh();
    const el = $(idOf(name));
    if (!el) return;
    reveal(el);
    el.focus({ preventScroll: true });
    if (el.setSelectionRange && el.type === 'text') el.setSelectionRange(0, 0);
  }

  // Scrolls so that the control's whole section is in view below the app
  // bar when it fits (else the control in the middle); nothing moves when
  // the section is in view already.
  function reveal(el) {
    const section = el.closest('.sub, .screen') || el;
    const area = $('screens').getBoundingClientRect();
    const box = section.getBoundingClientRect();
    if (box.top >= area.top && box.bottom <= area.bottom) return;
    if (box.height <= area.height) section.scrollIntoView({ block: 'start' });
    else el.scrollIntoView({ block: 'center' });
  }

  // ---------------------------------------------------------------- downloads

  function download(bytes, name, type) {
    const url = URL.createObjectURL(new Blob([bytes], { type }));
    const a = document.createElement('a');
    a.href = url;
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  // ---------------------------------------------------------------- showing

  const showWhen = {
    'Form25.opt10': () => get('Form25.opt10'),
    'Form25.opt12': () => get('Form25.opt12'),
    'Form12.Option4': () => get('Form12.Option4'),
    'Form12.Option8': () => get('Form12.Option8') && !project.isRiverCourseMode() && get('Form12.Option6'),
    cd: () => project.chosenIntensityFormula() >= 5,
    river: () => get('Form12.chk1') !== 0,
    byVelocity: () => get('Form12.Option6') && !project.isRiverCourseMode(),
    population: () => get('Form28.opt1') || get('Form28.opt2'),
    area: () => get('Form28.opt2') || get('Form28.opt3'),
  };

  function setControl(el, value) {
    if (el.type === 'radio' || el.type === 'checkbox') {
      el.checked = !!value;
    } else if (el.tagName === 'SELECT') {
      const index = value >= 0 && value < el.options.length ? value : -1;
      if (el.selectedIndex !== index) el.selectedIndex = index;
    } else if (el.value !== value) {
      el.value = value;
    }
  }

  function refresh() {
    fillSizeLists();
    for (const el of document.querySelectorAll('[data-field]')) setControl(el, get(el.dataset.field));
    const formula = project.chosenIntensityFormula();
    for (const el of document.querySelectorAll('[data-formula]')) el.checked = Number(el.dataset.formula) === formula;
    for (const el of document.querySelectorAll('[data-class]')) el.checked = get('Form28.opt' + el.dataset.class);
    for (const el of document.querySelectorAll('[data-when]')) el.hidden = !showWhen[el.dataset.when]();

    const kind = get('Form25.lst_s');
    $('Form2').hidden = !(kind >= 0 && kind <= 3);
    $('Form5').hidden = kind !== 4;
    $('Form1').hidden = kind !== 5;
    $('Form2-Label1').textContent = core.materialCaption(kind);
    $('Form16').hidden = !opened.has('Form16');
    $('Form12').hidden = !opened.has('Form12');
    $('Form28').hidden = !opened.has('Form28');
    $('Form13').hidden = !opened.has('Form13');
    $('Form22').hidden = !opened.has('Form22');
    $('Form12-lbl1').textContent = get('Form12.lbl1');

    const flowKind = get('Form17.lst_s');
    const code = Number(get('Form17.FlowTimeScreenCode')) || 0;
    for (const [form, c] of [['Form18', 1], ['Form19', 2], ['Form20', 3], ['Form21', 4]]) $(form).hidden = code !== c;
    $('Form18-Label1').textContent = core.materialCaption(flowKind);
    drawOutline();
  }

  // The size lists follow the material; the depth lists their facility.
  let listedMain = null, listedFlow = null;
  function fillSelect(select, entries) {
    select.textContent = '';
    entries.forEach((text, i) => {
      const option = document.createElement('option');
      option.value = String(i);
      option.textContent = text === '' ? '────' : text;
      if (text === '') option.disabled = true;
      select.appendChild(option);
    });
  }
  function fillSizeLists() {
    const kind = get('Form25.lst_s');
    if (kind !== listedMain) {
      listedMain = kind;
      fillSelect($('Form2-lst_pu'), toArray(core.pipeSizeLabels(kind)));
    }
    const flowKind = get('Form17.lst_s');
    if (flowKind !== listedFlow) {
      listedFlow = flowKind;
      fillSelect($('Form18-lst_pu'), toArray(core.pipeSizeLabels(flowKind)));
      fillSelect($('Form18-cbo1'), toArray(core.depthChoices(flowKind === 5 ? 2 : 0)));
    }
  }
  const toArray = (v) => Array.from(v);

  // ---------------------------------------------------------------- results

  function hideResults() {
    $('Form26').hidden = true;
    $('report').hidden = true;
    $('outputs-empty').hidden = false;
  }

  // Any edit withdraws the result at once, as on the desktop, and is a step
  // of the undo history (typing into one box, `key`, is one step) kept in
  // the browser.
  function edited(key) {
    project.discardRunResult();
    hideResults();
    clearMessage();
    project.commit(typeof key === 'string' ? key : '');
    changed('facility');
  }

  // The results and the report where the user looks: the column beside the
  // inputs on a wide window (its top), else scrolled into view.
  function bringResultsIntoView() {
    const outputs = $('outputs');
    if (getComputedStyle(outputs).position === 'sticky') {
      outputs.scrollTop = 0;
      if (outputs.getBoundingClientRect().top > window.innerHeight) outputs.scrollIntoView({ block: 'start' });
    } else {
      outputs.scrollIntoView({ block: 'start' });
    }
  }

  function run() {
    clearMessage();
    const outcome = project.checkRun();
    if (!outcome.passed) {
      hideResults();
      refresh();
      fail(outcome.message, outcome.focus);
      return;
    }
    refresh();
    $('Form26-lbl3').textContent = outcome.Q1;
    $('Form26-lbl6').textContent = outcome.Q2;
    $('Form26-lbl9').textContent = outcome.V;
    $('Form26-lbl6').classList.toggle('no', outcome.no);
    $('Form26-factor').textContent = outcome.factor ? outcome.times + outcome.factor : '';
    const verdict = $('Form26-verdict');
    verdict.textContent = outcome.no ? '∴ NO' : '∴ O.K';
    verdict.classList.toggle('no', outcome.no);
    status(outcome.notice);
    $('Form26').hidden = false;
    showReport();
    changed('facility');
    bringResultsIntoView();
  }

  // One report line as the desktop draws it: every character in its own
  // cell (one column for ASCII and half-width katakana, two for the rest),
  // centred there, so the columns hold in any font; a run of rule
  // characters is one line over its columns.
  const columns = (c) => (c.codePointAt(0) < 0x80 || (c >= '\uff61' && c <= '\uff9f') ? 1 : 2);
  function reportLine(line) {
    const div = document.createElement('div');
    div.className = line.magenta ? 'line no' : 'line';
    const chars = Array.from(line.text);
    let i = 0;
    while (i < chars.length) {
      const cell = document.createElement('span');
      if (chars[i] === RULE) {
        let j = i;
        while (j < chars.length && chars[j] === RULE) j++;
        cell.className = 'rule';
        cell.style.width = (j - i) + 'em';
        cell.dataset.text = chars.slice(i, j).join('');
        i = j;
      } else {
        cell.className = columns(chars[i]) === 1 ? 'c1' : 'c2';
        cell.textContent = chars[i];
        i++;
      }
      div.appendChild(cell);
    }
    return div;
  }

  function showReport() {
    const pages = project.reportPages();
    for (const [id, lines] of [['report-page1', pages.page1], ['report-page2', pages.page2]]) {
      const page = $(id);
      page.textContent = '';
      for (const line of toArray(lines)) page.appendChild(reportLine(line));
    }
    const report = project.reportLines();
    $('report-text').textContent = toArray(report.lines).map((l) => l + '\n').join('');
    $('report').hidden = false;
    $('outputs-empty').hidden = true;
  }

  // ---------------------------------------------------------------- file

  function openFile(file) {
    const reader = new FileReader();
    reader.onload = () => {
      const decoder = new TextDecoder('shift_jis');
      project.openBytes(new Uint8Array(reader.result), (view) => decoder.decode(view));
      project.commit('');
      setFileName(file.name);
      facilitySaved();
      openInForce();
      hideResults();
      clearMessage();
      $('sizing-table').hidden = true;
      refresh();
      status('「' + fileName + '」を開きました。');
      document.body.dataset.opened = fileName;
    };
    reader.onerror = () => fail('「' + file.name + '」を開けませんでした。');
    reader.readAsArrayBuffer(file);
  }

  function save() {
    clearMessage();
    const result = project.projectFileBytes();
    if (!result.ok) return fail(result.message);
    download(result.bytes, fileName || 'ミルカナ.vor', 'application/octet-stream');
    facilitySaved();
    status('保存しました。');
  }

  function write() {
    clearMessage();
    const result = project.reportFileBytes();
    if (!result.ok) return fail(result.message);
    download(result.bytes, 'Gouryu.txt', 'text/plain');
    status('計算書を Gouryu.txt に書き込みました。');
  }

  function setFileName(name) {
    fileName = name;
    $('file-name').textContent = name;
  }

  function newProject() {
    project.newProject();
    project.commit('');
    setFileName('');
    facilitySaved();
    openInForce();
    hideResults();
    clearMessage();
    refresh();
    status(NOTICE_MAIN);
  }

  // ---------------------------------------------------------------- main screen

  const main = {
    opt1: () => { set('Form25.opt1', true); set('Form25.opt2', false); },
    opt2: () => { set('Form25.opt2', true); set('Form25.opt1', false); },
    opt3: () => {  // I typed: the intensity screen is discarded
      set('Form25.opt3', true); set('Form25.opt4', false);
      project.resetScreen('Form12'); opened.delete('Form12');
      return 'Form25.txt_i';
    },
    opt4: () => {  // I calculated: the intensity screen opens
      if (!project.chosenIntensityFormula()) set('Form12.Option4', false);
      opened.add('Form12');
      status(NOTICE_INTENSITY);
      return 'Form12.cmd1';
    },
    opt5: () => {
      set('Form25.opt5', true); set('Form25.opt6', false);
      project.resetScreen('Form16'); opened.delete('Form16');
      return 'Form25.txt_c';
    },
    opt6: () => { opened.add('Form16'); return 'Form16.chk_k1'; },
    opt7: () => { project.beginSewageCalculation(); opened.add('Form28'); return 'Form28.cmd1'; },
    opt8: () => { project.switchSewageToDirect(); opened.delete('Form28'); return 'Form25.txt3'; },
    opt9: () => percentage(false, 9, 'txt2'),
    opt10: () => percentage(true, 9, 'txt2'),
    opt11: () => percentage(false, 11, 'txt1'),
    opt12: () => percentage(true, 11, 'txt1'),
  };
  function percentage(some, first, box) {
    set('Form25.opt' + first, !some);
    set('Form25.opt' + (first + 1), some);
    if (!some) set('Form25.' + box, '');
    return some ? 'Form25.' + box : null;
  }

  // ---------------------------------------------------------------- intensity screen

  function clear(...names) { for (const n of names) set('Form12.' + n, ''); }
  function options(values) { for (const [k, v] of Object.entries(values)) set('Form12.' + k, v); }
  const intensity = {
    Option1: () => {
      project.resetScreen('Form13'); opened.delete('Form13');
      options({ Option1: true, Option2: false });
      return 'Form12.txt3';
    },
    Option2: () => { options({ Option2: true, Option1: false }); },
    Option3: () => { options({ Option3: true, Option4: false, Option6: false, Option7: false }); return 'Form12.txt8'; },
    Option4: () => {
      options({ Option4: true, Option3: false, Option1: false, Option5: false, Option6: false });
      clear('txt4', 'txt5', 'txt3', 'txt9', 'txt8');
    },
    Option5: () => {
      options({ Option5: true, Option6: false, Option7: false, Option8: false });
      clear('txt4', 'txt5');
      return 'Form12.txt9';
    },
    Option6: () => { options({ Option6: true, Option5: false }); clear('txt9', 'txt4', 'txt5'); },
    Option7: () => {
      project.discardFlowTimeVelocity();
      options({ Option7: true, Option8: false });
      return 'Form12.txt5';
    },
    Option8: () => {
      options({ Option8: true, Option7: false });
      const code = Number(get('Form17.FlowTimeScreenCode')) || 0;
      if (code < 1 || code > 4) {
        set('Form17.opt1', false); set('Form17.opt2', false);
        project.chooseFlowTimeKind(0);
      }
      return 'Form17.lst_s';
    },
  };
  function riverCourse(ticked) {
    options({ Option7: false, Option8: false });
    clear('txt4', 'txt5', 'txt9');
    if (ticked) {
      set('Form12.chk1', 1);
      options({ Option5: false, Option6: true });
      set('Form12.lbl1', RIVER_COURSE_SOURCE);
      return null;
    }
    set('Form12.chk1', 0);
    set('Form12.lbl1', '');
    options({ Option6: false, Option5: true });
    project.resetScreen('Form22'); opened.delete('Form22');
    return 'Form12.txt9';
  }

  // ---------------------------------------------------------------- wiring

  function act(handler) {
    return (event) => {
      clearMessage();
      const focus = handler(event);
      edited();
      refresh();
      if (focus) focusControl(focus);
    };
  }

  function wire() {
    for (const el of document.querySelectorAll('input[data-field]:not([type=radio]):not([type=checkbox])')) {
      el.addEventListener('input', () => { set(el.dataset.field, el.value); edited(el.dataset.field); });
    }
    for (const el of document.querySelectorAll('select[data-field]')) {
      el.addEventListener('change', act(() => {
        const value = el.selectedIndex;
        if (el.dataset.field === 'Form25.lst_s') project.chooseMainFacility(value);
        else if (el.dataset.field === 'Form17.lst_s') project.chooseFlowTimeKind(value);
        else set(el.dataset.field, value);
      }));
    }
    for (const [name, handler] of Object.entries(main)) $('Form25-' + name).addEventListener('click', act(handler));
    for (const [name, handler] of Object.entries(intensity)) {
      const el = $('Form12-' + name);
      el.addEventListener('click', act(() => (get('Form12.' + name) && name !== 'Option8' ? null : handler())));
    }
    // A click into a computed box switches it to typed entry.
    const typed = { 'Form12-txt3': 'Option1', 'Form12-txt5': 'Option7', 'Form12-txt8': 'Option3', 'Form12-txt9': 'Option5' };
    $('Form25-txt_i').addEventListener('mousedown', () => {
      if (!get('Form25.opt3')) { set('Form25.opt3', true); set('Form25.opt4', false); edited(); refresh(); }
    });
    $('Form25-txt3').addEventListener('mousedown', () => {
      if (!get('Form25.opt8')) { set('Form25.opt7', false); set('Form25.opt8', true); edited(); refresh(); }
    });
    for (const [id, option] of Object.entries(typed)) {
      $(id).addEventListener('mousedown', () => {
        if (get('Form12.' + option)) return;
        const focus = intensity[option]();
        edited(); refresh();
        if (focus) setTimeout(() => focusControl(focus));
      });
    }
    for (const el of document.querySelectorAll('[data-formula]')) {
      el.addEventListener('click', act(() => {
        const n = Number(el.dataset.formula);
        if (project.chosenIntensityFormula() !== n) project.chooseIntensityFormula(n);
      }));
    }
    $('Form12-chk1').addEventListener('click', act(() => riverCourse($('Form12-chk1').checked)));
    $('Form12-Command4').addEventListener('click', act(() => { opened.add('Form13'); return 'Form13.txt1'; }));
    $('Form12-Command1').addEventListener('click', act(() => { opened.add('Form22'); return 'Form22.opt1'; }));
    $('Form13-cmd1').addEventListener('click', () => accept(project.acceptInflowTime(), () => { opened.delete('Form13'); }));
    $('Form22-cmd1').addEventListener('click', () => accept(project.validateRiverCourse(), () => { opened.delete('Form22'); }));
    for (const n of [1, 2]) {
      $('Form17-opt' + n).addEventListener('click', act(() => { set('Form17.opt' + n, true); set('Form17.opt' + (3 - n), false); }));
      $('Form22-opt' + n).addEventListener('click', act(() => { set('Form22.opt' + n, true); set('Form22.opt' + (3 - n), false); }));
    }
    $('Form17-cmd1').addEventListener('click', () => {
      clearMessage();
      const failure = project.flowTimeVelocityFailure();
      if (failure) return fail(failure.message, failure.focus);
      project.flowTimeVelocity();
      edited();
      refresh();
      status(NOTICE_INTENSITY);
      focusControl('Form12.cmd1');
    });
    $('Form21-cmd3').addEventListener('click', drawOutline);
    $('Form12-cmd1').addEventListener('click', () => {
      clearMessage();
      const failure = project.acceptIntensity();
      if (!failure) {
        opened.delete('Form12');
        edited(); refresh();
        status(NOTICE_MAIN);
        return focusControl('Form25.lst_s');
      }
      if (failure.followUp === 'chooseFormulaOne') project.chooseIntensityFormula(1);
      if (failure.followUp === 'openRiverCourse') opened.add('Form22');
      refresh();
      fail(failure.message, failure.followUp === 'focus' ? failure.focus : null);
    });
    for (const el of document.querySelectorAll('[data-class]')) {
      el.addEventListener('click', act(() => {
        const n = Number(el.dataset.class);
        if (!get('Form28.opt' + n)) project.chooseSewageClass(n);
        return n === 3 ? 'Form28.txt_a' : 'Form28.txt_p';
      }));
    }
    $('Form28-cmd1').addEventListener('click', () => accept(project.acceptSewage(), () => { opened.delete('Form28'); return 'Form25.opt9'; }));
    $('Form16-cmd1').addEventListener('click', () => accept(project.acceptRunoff(), () => { opened.delete('Form16'); return 'Form25.txt_i'; }));

    $('cmd-run').addEventListener('click', run);
    $('cmd-save').addEventListener('click', save);
    $('cmd-write').addEventListener('click', write);
    $('cmd-new').addEventListener('click', newProject);
    $('cmd-print').addEventListener('click', () => { if ($('report').hidden) showReport(); window.print(); });
    $('cmd-undo').addEventListener('click', () => facilityStep('undo'));
    $('cmd-redo').addEventListener('click', () => facilityStep('redo'));
    $('open-file').addEventListener('change', (event) => {
      const file = event.target.files[0];
      if (file) openFile(file);
      event.target.value = '';
    });
    // キャンセル: the section closes; the sewage, inflow-time and river-course
    // inputs start over, and without a river course t2 is typed again.
    const cancel = {
      Form16: () => {},
      Form12: () => {},
      Form13: () => project.resetScreen('Form13'),
      Form22: () => {
        project.resetScreen('Form22');
        options({ Option5: false, Option6: true, Option7: false, Option8: false });
        set('Form12.chk1', 0);
        set('Form12.lbl1', '');
        clear('txt4', 'txt5', 'txt9');
        return 'Form12.txt4';
      },
      Form28: () => project.resetScreen('Form28'),
    };
    for (const [form, handler] of Object.entries(cancel)) {
      $(form + '-cmd2').addEventListener('click', act(() => { opened.delete(form); return handler(); }));
    }
    $('message-ok').addEventListener('click', clearMessage);
    // Enter in a box goes on to the next box, list or button, as on the
    // desktop screens.
    document.addEventListener('keydown', (event) => {
      const box = event.target;
      if (event.key !== 'Enter' || box.tagName !== 'INPUT' || box.type !== 'text') return;
      event.preventDefault();
      const order = Array.from(document.querySelectorAll('input:not([type]), input[type=text], select, button'))
        .filter((el) => !el.closest('[hidden]') && !el.disabled && !el.closest('.appbar'));
      const next = order[order.indexOf(box) + 1];
      if (next) next.focus();
    });
    $('sizing-cmd').addEventListener('click', showSizeTable);
  }

  function accept(failure, done) {
    clearMessage();
    if (failure) return fail(failure.message, failure.focus);
    const focus = done();
    edited();
    refresh();
    if (focus) focusControl(focus);
  }

  // ---------------------------------------------------------------- land use

  function buildRunoffScreen() {
    const choices = $('Form16-choices');
    toArray(core.landUses()).forEach((use, index) => {
      const label = document.createElement('label');
      const box = document.createElement('input');
      box.type = 'checkbox';
      box.id = 'Form16-' + use.control;
      box.dataset.field = 'Form16.' + use.control;
      box.addEventListener('click', act(() => project.toggleLandUse(index, box.checked)));
      label.append(box, use.caption);
      const reference = document.createElement('span');
      reference.className = 'reference';
      reference.textContent = use.reference;
      label.appendChild(reference);
      choices.appendChild(label);
    });
    const rows = $('Form16-rows');
    const circled = '①②③④⑤⑥';
    for (let r = 1; r <= 6; r++) {
      const tr = document.createElement('tr');
      const th = document.createElement('th');
      th.textContent = circled[r - 1];
      tr.appendChild(th);
      for (const [name, caption, cls] of [['txt_t', '土地利用形態', 'name'], ['txt_c', '流出係数', 'num'], ['txt_a', '流域面積(m2)', 'num wide']]) {
        const td = document.createElement('td');
        const input = document.createElement('input');
        input.id = 'Form16-' + name + r;
        input.dataset.field = 'Form16.' + name + r;
        input.className = cls;
        input.setAttribute('aria-label', circled[r - 1] + ' ' + caption);
        td.appendChild(input);
        tr.appendChild(td);
      }
      rows.appendChild(tr);
    }
    const vertices = $('Form21-vertices');
    for (let r = 1; r <= 8; r++) {
      const tr = document.createElement('tr');
      tr.innerHTML = '<th>' + (r - 1) + '</th>';
      for (const axis of ['x', 'y']) {
        const td = document.createElement('td');
        const input = document.createElement('input');
        input.id = 'Form21-txt_' + axis + r;
        input.dataset.field = 'Form21.txt_' + axis + r;
        input.className = 'num';
        input.setAttribute('aria-label', (axis === 'x' ? 'Ｘ' : 'Y') + (r - 1) + '(m)');
        td.appendChild(input);
        tr.appendChild(td);
      }
      vertices.appendChild(tr);
    }
    for (const select of document.querySelectorAll('select[data-depths]')) {
      const kind = Number(select.dataset.depths);
      if (!Number.isNaN(kind)) fillSelect(select, toArray(core.depthChoices(kind)));
    }
  }

  // The irregular channel's outline, as its screen draws it.
  function drawOutline() {
    const svg = $('Form21-Picture1');
    const points = project.channelOutline();
    svg.textContent = '';
    if (!points) return;
    const line = document.createElementNS('http://www.w3.org/2000/svg', 'polyline');
    line.setAttribute('points', toArray(points).map((p) => p[0] + ',' + p[1]).join(' '));
    line.setAttribute('fill', 'none');
    line.setAttribute('stroke', 'black');
    svg.appendChild(line);
  }

  // ---------------------------------------------------------------- sizing

  function showSizeTable() {
    const table = project.sizeTable();
    const body = $('sizing-table').tBodies[0];
    body.textContent = '';
    const n = (v) => (v === null ? '-' : core.formatNumber(v, '0.0000'));
    for (const row of toArray(table.rows)) {
      const size = row.rectangular ? n(row.B) + '×' + n(row.H) : n(row.D);
      const cells = [row.label, size, n(row.A), n(row.P), n(row.R), n(row.V), n(row.Q2), row.verdict || '-', row.smallest ? '*' : ''];
      const tr = document.createElement('tr');
      if (row.verdict === 'NO') tr.className = 'no';
      for (const text of cells) {
        const td = document.createElement('td');
        td.textContent = text;
        tr.appendChild(td);
      }
      body.appendChild(tr);
    }
    const problems = toArray(table.problems);
    $('sizing-problem').textContent = problems.length ? problems[0].message : '';
    $('sizing-table').hidden = table.rows.length === 0;
  }


  // ---------------------------------------------------------------- undo (流量計算書)

  function facilityStep(which) {
    if (!(which === 'undo' ? project.undo() : project.redo())) return;
    clearMessage();
    hideResults();
    const before = new Set(opened);
    openInForce();
    for (const form of before) opened.add(form);
    refresh();
    changed('facility');
  }

  // ---------------------------------------------------------------- network table

  // The network flow table: settings and segment rows typed here, the whole
  // table computed by the core after every edit (as the desktop's table),
  // only the cells whose text changed written again; 計算 shows why it
  // cannot be computed and goes to the cell named.
  let network = null;
  let netColumns = [];
  let netKeys = [];         // a segment's inputs in inputsText()'s order
  let netTouched = false;   // typed into or 計算 pressed: refusals are shown
  let netCurrent = -1;      // the row of the last focused cell
  let netShown = [];        // per row: the computed texts, NO and proposal last computed
  let netInputs = [];       // per row: the inputs as the core holds them
  const netRows = new Map();  // the rows on the page, by segment index
  // A large table shows only the rows in and near its scrolled view (spacers
  // stand for the others), so that an edit costs the same at any size.
  const ALL_ROWS_UP_TO = 150;
  let netRowHeight = 26;
  let netResult = null;     // the last computation
  let netFileName = '';
  const FACILITY_PARTS = [['kind', '管種'], ['size', '管径'], ['facility_name', '施設名'],
    ['diameter', '直径 D(m)'], ['width', '巾 B(m)'], ['height', '高さ H(m)']];
  const NET_TEXT_FIELDS = ['name', 'upstream', 'downstream'];
  // Input columns that show what the computation used when nothing is
  // typed (the standard wall, the computed invert), greyed in the box.
  const NET_USED_FIELDS = ['wall', 'invert'];
  let netCheckColumn = -1;  // the 照査 column
  const KIND_CAPTIONS = ['ＶＰ管', 'ＶＵ管', '強化プラスチック複合管', 'ヒューム管', 'その他円形管', '矩形管'];
  const UNIT = '\u001f', RECORD = '\u001e';
  const netId = (row, field) => 'net-' + row + '-' + field;
  const splitRecords = (text) => (text === '' ? [] : text.split(RECORD));

  function netControl(tag, row, field, caption) {
    const el = document.createElement(tag);
    el.id = netId(row, field);
    el.dataset.row = String(row);
    el.dataset.netField = field;
    el.setAttribute('aria-label', (row + 1) + '行目 ' + caption);
    el.setAttribute('aria-description', field);
    return el;
  }

  function buildNetworkHead() {
    netColumns = toArray(core.networkColumns());
    netCheckColumn = netColumns.findIndex((c) => c.caption === '照査');
    netKeys = toArray(core.Network.inputKeys());
    const tr = $('net-table').tHead.rows[0];
    for (const caption of ['', ...netColumns.map((c) => c.caption), '寸法提案']) {
      const th = document.createElement('th');
      th.textContent = caption;
      tr.appendChild(th);
    }
  }

  function buildNetworkRow(row) {
    const tr = document.createElement('tr');
    tr.dataset.row = String(row);
    const head = document.createElement('td');
    head.className = 'head';
    head.textContent = String(row + 1);
    const remove = document.createElement('button');
    remove.type = 'button';
    remove.id = netId(row, 'delete');
    remove.dataset.row = String(row);
    remove.dataset.command = 'delete';
    remove.textContent = '削除';
    remove.setAttribute('aria-label', (row + 1) + '行目を削除');
    remove.setAttribute('aria-description', 'cmd_delete');
    head.appendChild(remove);
    tr.appendChild(head);
    for (const column of netColumns) {
      const td = document.createElement('td');
      if (column.field === 'kind') {
        td.className = 'in facility';
        for (const [field, caption] of FACILITY_PARTS) {
          const el = netControl(field === 'kind' || field === 'size' ? 'select' : 'input', row, field, caption);
          if (field === 'kind') fillSelect(el, KIND_CAPTIONS);
          if (el.tagName === 'INPUT') el.placeholder = caption;
          // Each part in its own span, shown for the kinds that have it; D
          // after "φ", H after "×", as the cell's text reads.
          const part = document.createElement('span');
          part.textContent = { diameter: ' φ', height: '×' }[field] || '';
          part.appendChild(el);
          td.appendChild(part);
        }
      } else if (column.field === 'depth') {
        td.className = 'in';
        td.appendChild(netControl('select', row, 'depth', column.caption));
      } else if (column.field) {
        td.className = 'in';
        const input = netControl('input', row, column.field, column.caption);
        if (NET_TEXT_FIELDS.includes(column.field)) input.className = 'text';
        if (NET_USED_FIELDS.includes(column.field)) input.className = 'level';
        td.appendChild(input);
      }
      tr.appendChild(td);
    }
    const proposal = document.createElement('td');
    proposal.className = 'proposal';
    tr.appendChild(proposal);
    return tr;
  }

  // One row's inputs from the core (an object by field key).
  function showNetworkRow(tr, row, segment) {
    for (const el of tr.querySelectorAll('[data-net-field]')) {
      const field = el.dataset.netField;
      if (field === 'size' && el.dataset.kind !== String(segment.kind)) {
        el.dataset.kind = String(segment.kind);
        fillSelect(el, toArray(core.networkSizeNames(segment.kind)));
      }
      const depthList = segment.kind === 5 ? 'rectangular' : 'circular';
      if (field === 'depth' && el.dataset.list !== depthList) {
        el.dataset.list = depthList;
        fillSelect(el, toArray(core.networkDepthChoices(segment.kind)));
      }
      setControl(el, segment[field]);
    }
    const catalogue = segment.kind <= 3;
    const part = (field, shown) => { tr.querySelector('[data-net-field="' + field + '"]').parentElement.hidden = !shown; };
    part('size', catalogue);
    part('facility_name', !catalogue);
    part('diameter', segment.kind === 4);
    part('width', segment.kind === 5);
    part('height', segment.kind === 5);
  }

  function segmentOf(fields) {
    const segment = {};
    netKeys.forEach((key, i) => { segment[key] = i >= netKeys.length - 3 ? Number(fields[i]) : fields[i]; });
    return segment;
  }

  // The settings and the rows' inputs as the core holds them (after Open,
  // undo, a paste, a deleted row): the rows on the page made again.
  function netShowInputs() {
    for (const el of document.querySelectorAll('[data-net]')) {
      const value = network.setting(el.dataset.net);
      if (el.tagName === 'SELECT') el.value = String(value);
      else setControl(el, value);
    }
    netShowSettingsState();
    netInputs = splitRecords(network.inputsText()).map((row) => segmentOf(row.split(UNIT)));
    netShown.length = Math.min(netShown.length, netInputs.length);
    if (netCurrent >= netInputs.length) netCurrent = -1;
    netRender(true);
  }

  function netShowSettingsState() {
    const cd = network.setting('formula') >= 5;
    $('net-c').disabled = !cd;
    $('net-d').disabled = !cd;
    $('net-groundwater_percent').disabled = !network.setting('groundwater');
    $('net-surcharge_percent').disabled = !network.setting('surcharge');
  }

  // The rows to have on the page: all of a small table, else those in the
  // scrolled view with a margin.
  function netWindow() {
    const count = netInputs.length;
    if (count <= ALL_ROWS_UP_TO) return [0, count];
    const box = $('net-scroll');
    const first = Math.max(0, Math.floor(box.scrollTop / netRowHeight) - 8);
    return [first, Math.min(count, first + Math.ceil(box.clientHeight / netRowHeight) + 16)];
  }

  // Puts the window's rows on the page (`all`: every one made afresh);
  // rows that stay keep their elements (and the focus).
  function netRender(all) {
    const body = $('net-table').tBodies[0];
    const [first, last] = netWindow();
    for (const [r, tr] of netRows) {
      if (all || r < first || r >= last) {
        tr.remove();
        netRows.delete(r);
      }
    }
    const make = (r) => {
      const tr = buildNetworkRow(r);
      netRows.set(r, tr);
      fillRow(tr, r);
      return tr;
    };
    const kept = [...netRows.keys()];
    if (kept.length === 0) {
      const rows = document.createDocumentFragment();
      for (let r = first; r < last; r++) rows.appendChild(make(r));
      body.appendChild(rows);
    } else {
      const low = Math.min(...kept), high = Math.max(...kept);
      for (let r = low - 1; r >= first; r--) body.insertBefore(make(r), netRows.get(r + 1));
      for (let r = high + 1; r < last; r++) body.appendChild(make(r));
    }
    if (netRows.size > 0 && first === 0) netRowHeight = netRows.get(first).offsetHeight || netRowHeight;
    // Rows that came into view since the last computation: their texts.
    if (!all && network) netTakeTexts(network.rowsText(first, last));
    const count = netInputs.length;
    $('net-above').style.height = (count > ALL_ROWS_UP_TO ? first * netRowHeight : 0) + 'px';
    $('net-below').style.height = (count > ALL_ROWS_UP_TO ? (count - last) * netRowHeight : 0) + 'px';
  }

  // A row made for the page: its inputs, and what was computed for it.
  function fillRow(tr, r) {
    showNetworkRow(tr, r, netInputs[r]);
    const shown = netShown[r];
    if (shown && !shown.stale) {
      netColumns.forEach((column, c) => {
        if (!column.field) tr.cells[c + 1].textContent = shown.texts[c] || '';
        else if (NET_USED_FIELDS.includes(column.field)) tr.cells[c + 1].firstChild.placeholder = shown.texts[c] || '';
      });
    }
    if (shown) {
      tr.classList.toggle('no', shown.no);
      if (netCheckColumn >= 0) tr.cells[netCheckColumn + 1].classList.toggle('fail', shown.failed);
      showProposal(tr.cells[tr.cells.length - 1], r, shown.proposal);
    }
    if (r === netCurrent) tr.cells[0].classList.add('current');
    if (netSel && !oneCell() && r >= netSel.top && r <= netSel.bottom) {
      for (let c = netSel.left; c <= netSel.right; c++) tr.cells[c + 1].classList.add('sel');
    }
  }

  // The row brought onto the page and into the scrolled view.
  function netReveal(row) {
    if (netRows.has(row) && netInputs.length <= ALL_ROWS_UP_TO) return;
    const box = $('net-scroll');
    const tr = netRows.get(row);
    if (tr) {
      const a = tr.getBoundingClientRect(), v = box.getBoundingClientRect();
      if (a.top >= v.top + 40 && a.bottom <= v.bottom) return;
    }
    box.scrollTop = Math.max(0, row * netRowHeight - box.clientHeight / 2);
    netRender(false);
  }

  // The computed cells, NO and 照査 marks (the core sends only the rows
  // whose texts changed, and on the page only the cells whose text changed
  // are written), then the sizing proposals: at once for a small table, a
  // moment after the typing stops for a large one, so that the cells are on
  // screen first.  Returns the computation.
  let proposalsTimer = null;
  const shownRow = (r) => netShown[r] || (netShown[r] = { texts: [], stale: true, no: false, failed: false, proposal: '' });

  // Rows' texts from the core (computeChanges' `changed`, rowsText): kept,
  // and written into the cells on the page whose text changed.
  function netTakeTexts(changed) {
    for (const record of splitRecords(changed)) {
      const cells = record.split(UNIT);
      const r = Number(cells[0]);
      if (r >= netInputs.length) continue;
      const tr = netRows.get(r);
      const shown = shownRow(r);
      const blank = shown.stale;  // its cells on the page were made empty
      shown.stale = false;
      netColumns.forEach((column, c) => {
        const used = column.field && NET_USED_FIELDS.includes(column.field);
        if (column.field && !used) return;
        const text = cells[c + 1] || '';
        if (blank || shown.texts[c] !== text) {
          if (tr && used) tr.cells[c + 1].firstChild.placeholder = text;
          else if (tr) tr.cells[c + 1].textContent = text;
          shown.texts[c] = text;
        }
      });
    }
  }

  function netShowComputed() {
    const [first, last] = netWindow();
    const result = network.computeChanges(first, last);
    netResult = result;
    const count = netInputs.length;
    clearTimeout(proposalsTimer);
    proposalsTimer = null;
    netTakeTexts(result.changed);
    for (let r = 0; r < count; r++) {
      const tr = netRows.get(r);
      const shown = shownRow(r);
      // The core formats a row out of view when it comes into view.
      if (r < first || r >= last) shown.stale = true;
      const no = result.no[r] === '1';
      if (shown.no !== no) {
        if (tr) tr.classList.toggle('no', no);
        shown.no = no;
      }
      const failed = result.failed[r] === '1';
      if (shown.failed !== failed) {
        if (tr && netCheckColumn >= 0) tr.cells[netCheckColumn + 1].classList.toggle('fail', failed);
        shown.failed = failed;
      }
    }
    netShowNodes();
    // Without any ground level the levels are not computed: said once.
    const notice = $('net-notice');
    const noLevels = result.ok && count > 0 && !result.hasLevels;
    if (noLevels && notice.textContent === '') notice.textContent = core.noLevelsNotice();
    notice.hidden = !noLevels;
    if (!result.ok) showProposals([]);
    else if (count <= ALL_ROWS_UP_TO) netShowProposals();
    else proposalsTimer = setTimeout(netShowProposals, 150);
    const summary = $('net-summary');
    summary.className = '';
    if (count === 0) {
      summary.textContent = '行追加で区間を入力してください。';
    } else if (!result.ok) {
      summary.textContent = netTouched ? result.refusal.message : count + '区間';
      if (netTouched) summary.className = 'refused';
    } else if (result.noCount === 0) {
      summary.textContent = '全' + count + '区間 O.K';
    } else {
      summary.textContent = count + '区間中 ' + result.noCount + '区間が NO です。';
      summary.className = 'no';
    }
    if (result.ok && result.failedCount > 0) {
      summary.textContent += '　照査：' + result.failedCount + '区間が不適です。';
      summary.className = 'no';
    }
    return result;
  }

  function netShowProposals() {
    proposalsTimer = null;
    showProposals(network.proposalsText().split(RECORD));
  }
  function showProposals(proposals) {
    for (let r = 0; r < netInputs.length; r++) {
      const shown = netShown[r];
      const proposal = proposals[r] || '';
      if (!shown || shown.proposal === proposal) continue;
      shown.proposal = proposal;
      const tr = netRows.get(r);
      if (tr) showProposal(tr.cells[tr.cells.length - 1], r, proposal);
    }
  }

  // ">" and the core's text for a change of size (with 適用), "=" and the
  // text otherwise (why no size passes, or nothing).
  function showProposal(cell, r, proposal) {
    cell.textContent = proposal.slice(1);
    if (proposal[0] !== '>') return;
    const apply = document.createElement('button');
    apply.type = 'button';
    apply.id = netId(r, 'apply');
    apply.dataset.row = String(r);
    apply.dataset.command = 'apply';
    apply.textContent = '適用';
    apply.setAttribute('aria-label', (r + 1) + '行目の寸法提案を適用');
    apply.setAttribute('aria-description', 'cmd_apply');
    cell.appendChild(apply);
  }

  // After an edit of the table: a step of its history, kept in the browser.
  // `inputs`: the rows' inputs are shown afresh too (not only the cell typed).
  function netEdited(key, inputs) {
    clearMessage();
    netTouched = true;
    network.commit(typeof key === 'string' ? key : '');
    if (inputs) netShowInputs();
    else netShowSettingsState();
    netShowComputed();
    changed('network');
  }

  // The control a refusal names: the setting, or the segment's cell (the
  // row's 路線番号 for a computed value).
  function netFocus(refusal) {
    let id;
    if (refusal.node !== null && refusal.node !== undefined) {
      const el = nodeControl(refusal.node, refusal.field === 'node' ? 'ground' : refusal.field);
      if (el) el.focus();
      return;
    }
    if (refusal.row < 0) {
      const percent = { groundwater: 'groundwater_percent', surcharge: 'surcharge_percent' }[refusal.field];
      id = percent && network.setting(refusal.field) ? 'net-' + percent : 'net-' + refusal.field;
      if (!$(id)) id = 'net-formula';
    } else {
      netReveal(refusal.row);
      id = netId(refusal.row, refusal.field);
      const el = $(id);
      if (!el || el.closest('[hidden]')) id = netId(refusal.row, 'name');
    }
    $(id).focus();
  }

  // 計算 and the commands that need the computed table: the refusal and its
  // cell when the table cannot be computed.
  function netCheck() {
    clearMessage();
    netTouched = true;
    const result = netShowComputed();
    if (result.ok) return true;
    fail(result.refusal.message);
    netFocus(result.refusal);
    return false;
  }

  function netStep(which) {
    if (!(which === 'undo' ? network.undo() : network.redo())) return;
    clearMessage();
    netShowInputs();
    netShowComputed();
    changed('network');
    profileFollows();
  }

  // ---------------------------------------------------------------- node grid

  // 節点: every node the segments name, in the core's order, with its
  // levels; the grid is made again only when the names change, otherwise
  // the boxes whose text changed (undo, Open) are written.
  let netNodeNames = [];
  let netNodesShown = null;
  const NODE_FIELDS = [['ground', '地盤高 (m)'], ['fixed_invert', '管底高 固定 (m)'], ['node_drop', '最小段差 (m)']];

  function nodeControl(name, field) {
    const k = netNodeNames.indexOf(name);
    return k < 0 ? null : $('net-node-' + k + '-' + field);
  }

  function netShowNodes() {
    const text = network.nodesText();
    if (text === netNodesShown) return;
    netNodesShown = text;
    const rows = splitRecords(text).map((row) => row.split(UNIT));
    const names = rows.map((row) => row[0]);
    const body = $('net-nodes').tBodies[0];
    if (names.length !== netNodeNames.length || names.some((n, k) => n !== netNodeNames[k])) {
      netNodeNames = names;
      body.textContent = '';
      const made = document.createDocumentFragment();
      rows.forEach((row, k) => {
        const tr = document.createElement('tr');
        const name = document.createElement('td');
        name.className = 'head';
        name.textContent = row[0];
        tr.appendChild(name);
        NODE_FIELDS.forEach(([field, caption]) => {
          const td = document.createElement('td');
          td.className = 'in';
          const input = document.createElement('input');
          input.id = 'net-node-' + k + '-' + field;
          input.dataset.node = row[0];
          input.dataset.nodeField = field;
          input.setAttribute('aria-label', '節点「' + row[0] + '」の' + caption);
          input.setAttribute('aria-description', field);
          td.appendChild(input);
          tr.appendChild(td);
        });
        made.appendChild(tr);
      });
      body.appendChild(made);
      $('net-nodes-empty').hidden = names.length > 0;
    }
    rows.forEach((row, k) => {
      NODE_FIELDS.forEach(([field], f) => {
        const el = $('net-node-' + k + '-' + field);
        if (el.value !== row[f + 1]) el.value = row[f + 1];
      });
    });
  }

  function wireNodes() {
    const body = $('net-nodes').tBodies[0];
    body.addEventListener('input', (event) => {
      const el = event.target;
      if (!el.dataset.nodeField) return;
      if (!event.isComposing) showHalfWidth(el, el.dataset.nodeField);
      network.setNode(el.dataset.node, el.dataset.nodeField, el.value);
      netEdited('node.' + el.dataset.node + '.' + el.dataset.nodeField);
    });
    body.addEventListener('compositionend', (event) => {
      if (event.target.dataset.nodeField) showHalfWidth(event.target, event.target.dataset.nodeField);
    });
    // Up and down go to the same level of the next node.
    body.addEventListener('keydown', (event) => {
      const el = event.target;
      if (!el.dataset.nodeField || (event.key !== 'ArrowUp' && event.key !== 'ArrowDown')) return;
      const k = netNodeNames.indexOf(el.dataset.node) + (event.key === 'ArrowDown' ? 1 : -1);
      const next = k >= 0 && k < netNodeNames.length ? $('net-node-' + k + '-' + el.dataset.nodeField) : null;
      if (!next) return;
      event.preventDefault();
      next.focus();
      next.select();
    });
  }

  // ---------------------------------------------------------------- profile (縦断図)

  // The profile of one flow path as the core draws it: the sheets shown as
  // the core's SVG, printed one to a landscape page, written as SVG or DXF.
  let profileDrawn = null;

  // The date in the title block, as the desktop prints it.
  function today() {
    const d = new Date();
    return d.getFullYear() + '年' + (d.getMonth() + 1) + '月' + d.getDate() + '日';
  }

  // The heads the profile can start from, keeping the one chosen while it
  // is still a head.
  function listProfileHeads() {
    const heads = network.profileHeads();
    const select = $('profile-head');
    const chosen = select.selectedIndex > 0 ? select.value : '';
    select.textContent = '';
    const longest = document.createElement('option');
    longest.value = '';
    longest.textContent = heads.longest ? '最長の流路（' + heads.longest + '）' : '最長の流路';
    select.appendChild(longest);
    for (const head of toArray(heads.heads)) {
      const option = document.createElement('option');
      option.value = head;
      option.textContent = head;
      select.appendChild(option);
    }
    select.value = toArray(heads.heads).includes(chosen) ? chosen : '';
  }

  // 縦断図: the table must compute first (its refusal shown as 計算 shows it).
  function openProfile() {
    clearMessage();
    if (!netCheck()) return;
    listProfileHeads();
    $('net-screen').hidden = true;
    $('profile-screen').hidden = false;
    showProfile();
    $('profile-head').focus();
  }

  // The open profile drawn again after the table changed under it (undo,
  // Open, 新規).
  function profileFollows() {
    if ($('profile-screen').hidden) return;
    listProfileHeads();
    showProfile();
  }

  function closeProfile() {
    $('profile-screen').hidden = true;
    $('net-screen').hidden = false;
    profileDrawn = null;
    $('profile-sheets').textContent = '';
    $('net-profile').focus();
  }

  function showProfile() {
    const a4 = $('profile-sheet').value === 'a4';
    const drawn = network.drawProfile($('profile-head').value, Number($('profile-horizontal').value),
      Number($('profile-vertical').value), a4, today());
    const holder = $('profile-sheets');
    holder.textContent = '';
    holder.classList.toggle('a4', a4);
    $('profile-message').textContent = drawn.message;
    $('profile-message').className = drawn.ok ? '' : 'refused';
    profileDrawn = drawn.ok ? drawn : null;
    for (const id of ['profile-print', 'profile-svg', 'profile-dxf']) $(id).disabled = !drawn.ok;
    if (!drawn.ok) return;
    const parser = new DOMParser();
    toArray(drawn.sheets).forEach((text, k) => {
      const svg = document.importNode(parser.parseFromString(text, 'image/svg+xml').documentElement, true);
      svg.classList.add('sheet');
      svg.setAttribute('role', 'img');
      svg.setAttribute('aria-label', '縦断図 ' + (k + 1) + '枚目');
      holder.appendChild(svg);
    });
    zoomProfile();
  }

  function zoomProfile() {
    const scale = Number($('profile-zoom').value) / 100;
    const [w, h] = $('profile-sheet').value === 'a4' ? [297, 210] : [420, 297];
    for (const svg of $('profile-sheets').children) {
      svg.style.width = (w * scale) + 'mm';
      svg.style.height = (h * scale) + 'mm';
    }
  }

  function profileBase() {
    return (netFileName ? netFileName.replace(/\.mkt$/i, '') : '流量計算表') + '_縦断図';
  }

  function printProfile() {
    if (!profileDrawn) return;
    document.body.dataset.print = 'profile';
    window.print();
  }

  function wireProfile() {
    for (const [id, scales] of [['profile-horizontal', core.profileHorizontalScales()], ['profile-vertical', core.profileVerticalScales()]]) {
      const select = $(id);
      for (const d of toArray(scales)) {
        const option = document.createElement('option');
        option.value = String(d);
        option.textContent = '1/' + d;
        select.appendChild(option);
      }
      select.selectedIndex = 1;
    }
    const names = [['net-profile', 'cmd_profile'], ['profile-head', 'cbo_head'], ['profile-horizontal', 'cbo_horizontal'],
      ['profile-vertical', 'cbo_vertical'], ['profile-sheet', 'cbo_sheet'], ['profile-zoom', 'cbo_zoom'],
      ['profile-print', 'cmd_print'], ['profile-svg', 'cmd_svg'], ['profile-dxf', 'cmd_dxf'], ['profile-close', 'cmd_close']];
    for (const [id, name] of names) $(id).setAttribute('aria-description', name);
    $('net-profile').addEventListener('click', openProfile);
    $('profile-close').addEventListener('click', closeProfile);
    for (const id of ['profile-head', 'profile-horizontal', 'profile-vertical', 'profile-sheet']) $(id).addEventListener('change', showProfile);
    $('profile-zoom').addEventListener('change', zoomProfile);
    $('profile-print').addEventListener('click', printProfile);
    $('profile-svg').addEventListener('click', () => {
      if (profileDrawn) download(new TextEncoder().encode(profileDrawn.svg), profileBase() + '.svg', 'image/svg+xml');
    });
    $('profile-dxf').addEventListener('click', () => {
      if (!profileDrawn) return;
      clearMessage();
      const dxf = network.profileDxf();
      if (!dxf.ok) return fail(dxf.message);
      download(dxf.bytes, profileBase() + '.dxf', 'application/dxf');
    });
    window.addEventListener('afterprint', () => { delete document.body.dataset.print; });
  }

  function newTable() {
    network.newTable();
    network.commit('');
    netTouched = false;
    netCurrent = -1;
    setNetFileName('');
    networkSaved();
    netShowInputs();
    netShowComputed();
    clearMessage();
    profileFollows();
  }

  function setNetFileName(name) {
    netFileName = name;
    $('net-file-name').textContent = name;
  }

  // 区間を開く: the row of the last focused cell as the single-facility
  // document, computed, with its report (the document it replaces can be
  // brought back with undo).
  function openRow() {
    clearMessage();
    if (netCurrent < 0 || netCurrent >= network.size()) return fail('開く区間の行をクリックしてから、区間を開くを押してください。');
    if (!netCheck()) return;
    const name = network.segment(netCurrent).name;
    core.openNetworkRow(network, netCurrent, project);
    project.commit('');
    setFileName('');
    openInForce();
    hideResults();
    refresh();
    changed('facility');
    location.hash = '#facility';
    run();
    if (!$('report').hidden) status('流量計算表の区間「' + name + '」を開きました。');
  }

  // ---------------------------------------------------------------- table as a spreadsheet

  // A number typed with full-width digits shows (and is kept) half-width,
  // as the desktop's table takes it; the caret stays where it was.
  function showHalfWidth(el, field = el.dataset.netField) {
    if (!core.normalizeNumberInput || !core.Network.isNumberField(field)) return;
    const half = core.normalizeNumberInput(el.value);
    if (half === el.value) return;
    const at = el.selectionStart;
    el.value = half;
    if (at !== null) el.setSelectionRange(at, at);
  }

  // Cells as the core's record edits address them: (segment, column index
  // into the table's columns); the facility's parts are its one column.
  function columnOf(field) {
    const key = FACILITY_PARTS.some(([f]) => f === field) ? 'kind' : field;
    return netColumns.findIndex((c) => c.field === key);
  }
  function controlAt(row, column) {
    const field = netColumns[column] && netColumns[column].field;
    if (!field) return null;
    if (field !== 'kind') return $(netId(row, field));
    return FACILITY_PARTS.map(([f]) => $(netId(row, f))).find((el) => el && !el.closest('[hidden]')) || null;
  }

  // The selected block: from the anchor (the focused cell) to the other
  // corner, extended with Shift+click or Shift+Up/Down.
  let netAnchor = null;
  let netSel = null;
  function selectCells(top, left, bottom, right) {
    for (const td of document.querySelectorAll('#net-table td.sel')) td.classList.remove('sel');
    netSel = { top: Math.min(top, bottom), left: Math.min(left, right), bottom: Math.max(top, bottom), right: Math.max(left, right) };
    if (netSel.top === netSel.bottom && netSel.left === netSel.right) return;
    for (let r = netSel.top; r <= netSel.bottom; r++) {
      const tr = netRows.get(r);
      if (tr) for (let c = netSel.left; c <= netSel.right; c++) tr.cells[c + 1].classList.add('sel');
    }
  }
  const oneCell = () => !netSel || (netSel.top === netSel.bottom && netSel.left === netSel.right);
  const wholeTextSelected = (el) => el.tagName !== 'INPUT' ||
    (el.value !== '' && el.selectionStart === 0 && el.selectionEnd === el.value.length);

  // After a block edit: the rows shown afresh, the block selected.
  function blockEdited(sel) {
    netEdited('', true);
    if (sel) selectCells(sel.top, sel.left, sel.bottom, sel.right);
  }

  function wireTableKeys(body) {
    body.addEventListener('focusin', (event) => {
      const el = event.target;
      if (!el.dataset.netField) return;
      const cell = { row: Number(el.dataset.row), column: columnOf(el.dataset.netField) };
      if (netAnchor && netAnchor.extending) return;
      netAnchor = cell;
      selectCells(cell.row, cell.column, cell.row, cell.column);
    });
    body.addEventListener('mousedown', (event) => {
      const td = event.target.closest('td');
      if (!event.shiftKey || !netAnchor || !td) return;
      event.preventDefault();
      selectCells(netAnchor.row, netAnchor.column, Number(td.parentElement.dataset.row), td.cellIndex - 1);
    });
    body.addEventListener('keydown', (event) => {
      const el = event.target;
      if (!el.dataset.netField || !netSel) return;
      const key = event.key;
      if (event.shiftKey && (key === 'ArrowUp' || key === 'ArrowDown') && netAnchor) {
        event.preventDefault();
        const end = netSel.top < netAnchor.row ? netSel.top : netSel.bottom;
        const next = Math.max(0, Math.min(network.size() - 1, end + (key === 'ArrowDown' ? 1 : -1)));
        selectCells(netAnchor.row, netSel.left, next, netSel.right);
      } else if ((key === 'Delete' || key === 'Backspace') && (!oneCell() || (key === 'Delete' && wholeTextSelected(el)))) {
        event.preventDefault();
        const sel = netSel;
        if (network.clear(sel.top, sel.left, sel.bottom, sel.right)) blockEdited(sel);
      } else if ((event.ctrlKey || event.metaKey) && key.toLowerCase() === 'd') {
        event.preventDefault();
        const sel = netSel;
        if (network.fillDown(sel.top, sel.left, sel.bottom, sel.right)) blockEdited(sel);
      }
    });
    body.addEventListener('copy', (event) => {
      if (oneCell()) return;
      event.preventDefault();
      event.clipboardData.setData('text/plain', network.copy(netSel.top, netSel.left, netSel.bottom, netSel.right));
    });
    // A block from a spreadsheet (tab-separated) fills the cells from the
    // selected one on, adding rows as needed; one refused value leaves the
    // table as it was and names the cell.
    body.addEventListener('paste', (event) => {
      const el = event.target;
      const text = event.clipboardData.getData('text/plain');
      if (!el.dataset.netField || !netSel || (!/[\t\r\n]/.test(text.replace(/\r?\n$/, '')) && el.tagName === 'INPUT')) return;
      event.preventDefault();
      const result = network.paste(netSel.top, netSel.left, text);
      if (!result.ok) {
        fail(result.message);
        netReveal(result.row);
        const target = controlAt(result.row, result.column);
        if (target) target.focus();
        return;
      }
      blockEdited({ top: result.row, left: result.column, bottom: result.row + result.rows - 1, right: result.column + result.columns - 1 });
      setTimeout(() => { netAnchor = null; }, 0);
    });
  }

  // ---------------------------------------------------------------- table print

  // The table as printed: every column on the landscape page (the font made
  // smaller until the widest row fits), the title and the column captions
  // repeated at the top of every page, NO rows in magenta.
  function buildNetPrint() {
    const holder = $('net-print');
    holder.textContent = '';
    const result = network.computeText(false);
    const table = document.createElement('table');
    table.className = 'net-print';
    const head = table.createTHead();
    const title = head.insertRow();
    const th = document.createElement('th');
    th.colSpan = netColumns.length;
    th.className = 'title';
    const t = network.setting('title');
    th.textContent = '流量計算表' + (t ? '　' + t : '') + (netFileName ? '　（' + netFileName + '）' : '');
    title.appendChild(th);
    const captions = head.insertRow();
    for (const column of netColumns) {
      const cell = document.createElement('th');
      cell.textContent = column.caption;
      captions.appendChild(cell);
    }
    const body = table.createTBody();
    splitRecords(result.texts).forEach((row, r) => {
      const tr = body.insertRow();
      if (result.no[r] === '1') tr.className = 'no';
      for (const text of row.split(UNIT)) tr.insertCell().textContent = text;
    });
    holder.appendChild(table);
    // The printable width of an A4 landscape page with its margins.
    const width = (297 - 16) * 96 / 25.4;
    let size = 9;
    table.style.fontSize = size + 'pt';
    for (let i = 0; i < 12 && table.offsetWidth > width; i++) {
      size *= Math.max(0.5, (width / table.offsetWidth) * 0.98);
      table.style.fontSize = size.toFixed(2) + 'pt';
    }
    return result.ok;
  }

  function printTable() {
    if (!netCheck()) return;
    buildNetPrint();
    window.print();
  }

  // ---------------------------------------------------------------- table wiring

  function wireNetwork() {
    network = new core.Network();
    buildNetworkHead();
    for (const el of document.querySelectorAll('[data-net]')) {
      const key = el.dataset.net;
      el.setAttribute('aria-description', key);
      if (el.type === 'checkbox') {
        el.addEventListener('change', () => { network.setSetting(key, el.checked); netEdited(); });
      } else if (el.tagName === 'SELECT') {
        el.addEventListener('change', () => { network.setSetting(key, Number(el.value)); netEdited(); });
      } else {
        el.addEventListener('input', () => { network.setSetting(key, el.value); netEdited('setting.' + key); });
      }
    }
    const body = $('net-table').tBodies[0];
    body.addEventListener('input', (event) => {
      const el = event.target;
      if (el.tagName !== 'INPUT' || !el.dataset.netField) return;
      if (!event.isComposing) showHalfWidth(el);
      const row = Number(el.dataset.row);
      network.setSegment(row, el.dataset.netField, el.value);
      netInputs[row][el.dataset.netField] = network.segment(row)[el.dataset.netField];
      netEdited('cell.' + el.dataset.row + '.' + el.dataset.netField);
    });
    body.addEventListener('compositionend', (event) => {
      if (event.target.dataset.netField) showHalfWidth(event.target);
    });
    wireTableKeys(body);
    body.addEventListener('change', (event) => {
      const el = event.target;
      if (el.tagName !== 'SELECT' || !el.dataset.netField) return;
      const row = Number(el.dataset.row);
      network.setSegment(row, el.dataset.netField, el.selectedIndex);
      netInputs[row] = network.segment(row);
      if (el.dataset.netField === 'kind') showNetworkRow(netRows.get(row), row, netInputs[row]);
      netEdited();
    });
    body.addEventListener('click', (event) => {
      const el = event.target.closest('button[data-command]');
      if (!el) return;
      const row = Number(el.dataset.row);
      if (el.dataset.command === 'delete') {
        network.removeSegment(row);
        netEdited('', true);
      } else if (el.dataset.command === 'apply') {
        network.applySizing(row);
        netEdited('', true);
      }
    });
    body.addEventListener('focusin', (event) => {
      const row = Number(event.target.dataset.row);
      if (Number.isNaN(row) || row === netCurrent) return;
      if (netRows.has(netCurrent)) netRows.get(netCurrent).cells[0].classList.remove('current');
      netCurrent = row;
      netRows.get(row).cells[0].classList.add('current');
    });
    // Up and down go to the same column of the next row, as in a spreadsheet.
    body.addEventListener('keydown', (event) => {
      const el = event.target;
      if (!el.dataset.netField || el.tagName !== 'INPUT' || (event.key !== 'ArrowUp' && event.key !== 'ArrowDown')) return;
      const to = Number(el.dataset.row) + (event.key === 'ArrowDown' ? 1 : -1);
      if (to < 0 || to >= netInputs.length) return;
      netReveal(to);
      const next = $(netId(to, el.dataset.netField));
      if (!next) return;
      event.preventDefault();
      next.focus();
      next.select();
    });
    const names = [['net-add', 'cmd_add'], ['net-insert', 'cmd_insert'], ['net-apply-all', 'cmd_apply_all'], ['net-run', 'cmd_check'],
      ['net-cmd-new', 'cmd_new'], ['net-cmd-save', 'cmd_save'], ['net-csv-out', 'cmd_csv_export'],
      ['net-cmd-print', 'cmd_print'], ['net-open-row', 'cmd_open_row'], ['net-undo', 'cmd_undo'], ['net-redo', 'cmd_redo']];
    for (const [id, name] of names) $(id).setAttribute('aria-description', name);
    $('net-insert').addEventListener('click', () => {
      const row = network.insertAfter(netCurrent);
      netEdited('', true);
      netReveal(row);
      $(netId(row, 'name')).focus();
    });
    $('net-add').addEventListener('click', () => {
      network.addSegment();
      netEdited('', true);
      netReveal(network.size() - 1);
      $(netId(network.size() - 1, 'name')).focus();
    });
    $('net-apply-all').addEventListener('click', () => { if (netCheck()) { network.applySizing(-1); netEdited('', true); } });
    $('net-run').addEventListener('click', netCheck);
    $('net-cmd-new').addEventListener('click', newTable);
    $('net-cmd-print').addEventListener('click', printTable);
    $('net-open-row').addEventListener('click', openRow);
    $('net-undo').addEventListener('click', () => netStep('undo'));
    $('net-redo').addEventListener('click', () => netStep('redo'));
    wireTableFiles();
    let scrolled = false;
    $('net-scroll').addEventListener('scroll', () => {
      if (scrolled || netInputs.length <= ALL_ROWS_UP_TO) return;
      scrolled = true;
      requestAnimationFrame(() => { scrolled = false; netRender(false); });
    });
    window.addEventListener('beforeprint', () => {
      if (document.body.dataset.view === 'network' && document.body.dataset.print !== 'profile') buildNetPrint();
    });
    wireNodes();
    wireProfile();
    netShowInputs();
    netShowComputed();
  }

  // ---------------------------------------------------------------- table files

  function readFileBytes(file, done) {
    const reader = new FileReader();
    reader.onload = () => done(new Uint8Array(reader.result));
    reader.onerror = () => fail('「' + file.name + '」を開けませんでした。');
    reader.readAsArrayBuffer(file);
  }

  function wireTableFiles() {
    const unavailable = () => fail('この版では流量計算表のファイルを扱えません。');
    $('net-cmd-save').addEventListener('click', network.fileBytes ? saveTable : unavailable);
    $('net-csv-out').addEventListener('click', network.csvBytes ? exportCsv : unavailable);
    for (const [id, handler] of [['net-open-file', openTable], ['net-csv-file', importCsv]]) {
      $(id).addEventListener('change', (event) => {
        const file = event.target.files[0];
        event.target.value = '';
        if (file) readFileBytes(file, (bytes) => (network.fileBytes ? handler(file.name, bytes) : unavailable()));
      });
    }
  }

  function openTable(name, bytes) {
    const result = network.openFile(bytes);
    if (!result.ok) return fail(result.message);
    network.commit('');
    setNetFileName(name);
    networkSaved();
    netTouched = true;
    netCurrent = -1;
    netShowInputs();
    netShowComputed();
    clearMessage();
    $('net-summary').dataset.opened = name;
    document.body.dataset.tableOpened = name;
    profileFollows();
  }

  function saveTable() {
    clearMessage();
    download(network.fileBytes(), netFileName || '流量計算表.mkt', 'application/octet-stream');
    networkSaved();
  }

  function exportCsv() {
    clearMessage();
    const result = network.csvBytes();
    if (!result.ok) return fail(result.message);
    const base = netFileName ? netFileName.replace(/\.mkt$/i, '') : '流量計算表';
    download(result.bytes, base + '.csv', 'text/csv');
  }

  function importCsv(name, bytes) {
    const decoder = new TextDecoder('shift_jis');
    const result = network.importCsv(bytes, (view) => decoder.decode(view));
    if (!result.ok) return fail(result.message);
    netEdited('', true);
  }

  // ---------------------------------------------------------------- documents kept

  // Both documents are kept in the browser's localStorage while they hold
  // edits not saved to a file (流量計算書 as its file's lines, 流量計算表 as
  // its file's text), and offered back when the page is opened again;
  // leaving the page with such edits asks first.
  const KEPT = { facility: 'mirukana.kept.facility', network: 'mirukana.kept.network' };
  const baseline = { facility: '', network: '' };
  const keepTimers = {};

  function facilityContent() { return JSON.stringify(toArray(project.projectFileLines())); }
  function networkContent() {
    if (network.fileText) return network.fileText();
    const settings = {};
    for (const el of document.querySelectorAll('[data-net]')) settings[el.dataset.net] = network.setting(el.dataset.net);
    return JSON.stringify({ settings, segments: network.inputsText() });
  }
  const content = (doc) => (doc === 'facility' ? facilityContent() : networkContent());
  const isModified = (doc) => content(doc) !== baseline[doc];

  function facilitySaved() { baseline.facility = facilityContent(); changed('facility'); }
  function networkSaved() { baseline.network = networkContent(); changed('network'); }

  // After every change of a document: the undo buttons, and the kept copy
  // written a moment later (at once when the page is left).
  function changed(doc) {
    if (!network) return;
    const d = doc === 'facility' ? project : network;
    const prefix = doc === 'facility' ? 'cmd-' : 'net-';
    $(prefix + 'undo').disabled = !d.canUndo();
    $(prefix + 'redo').disabled = !d.canRedo();
    clearTimeout(keepTimers[doc]);
    keepTimers[doc] = setTimeout(() => keep(doc), 300);
  }

  function keep(doc) {
    clearTimeout(keepTimers[doc]);
    delete keepTimers[doc];
    try {
      if (!isModified(doc)) {
        localStorage.removeItem(KEPT[doc]);
        return;
      }
      localStorage.setItem(KEPT[doc], JSON.stringify({
        fileName: doc === 'facility' ? fileName : netFileName,
        time: Date.now(),
        content: content(doc),
        baseline: baseline[doc],
      }));
    } catch (e) {
      status('ブラウザに作業を残せませんでした（' + e.name + '）。保存でファイルに書き出してください。');
    }
  }

  function keepAll() { for (const doc of Object.keys(KEPT)) if (doc in keepTimers) keep(doc); }

  function keptEntries() {
    const entries = {};
    for (const [doc, key] of Object.entries(KEPT)) {
      try {
        const entry = JSON.parse(localStorage.getItem(key));
        if (entry && typeof entry.content === 'string') entries[doc] = entry;
      } catch (e) { /* an unreadable entry is offered as nothing */ }
    }
    return entries;
  }

  // At start: what was kept, offered back with 確認.
  function offerKept() {
    const entries = keptEntries();
    const docs = Object.keys(entries);
    if (docs.length === 0) return;
    const names = { facility: '流量計算書', network: '流量計算表' };
    const when = (t) => new Date(t).toLocaleString('ja-JP');
    $('restore-text').textContent = '前回保存されなかった作業が残っています：' + docs.map((doc) =>
      names[doc] + (entries[doc].fileName ? '「' + entries[doc].fileName + '」' : '（新規）') + '（' + when(entries[doc].time) + '）')
      .join('、') + '。復元しますか？（破棄すると元に戻せません）';
    const dialog = $('restore');
    const close = () => {
      dialog.hidden = true;
      if (dialog.open) dialog.close();
    };
    $('restore-ok').onclick = () => {
      close();
      for (const doc of docs) restoreKept(doc, entries[doc]);
      location.hash = docs.includes('facility') ? '#facility' : '#network';
      status('前回の作業を復元しました。');
    };
    $('restore-discard').onclick = () => {
      close();
      for (const doc of docs) localStorage.removeItem(KEPT[doc]);
    };
    dialog.hidden = false;
    if (dialog.showModal) dialog.showModal();
  }

  function restoreKept(doc, entry) {
    if (doc === 'facility') {
      project.openLines(JSON.parse(entry.content));
      project.commit('');
      setFileName(entry.fileName || '');
      openInForce();
      hideResults();
      refresh();
    } else {
      if (network.fileText) {
        const result = network.openFile(new TextEncoder().encode(entry.content));
        if (!result.ok) return;
      } else {
        const kept = JSON.parse(entry.content);
        network.newTable();
        for (const [key, value] of Object.entries(kept.settings)) network.setSetting(key, value);
        for (const row of splitRecords(kept.segments)) {
          network.addSegment();
          const i = network.size() - 1;
          const segment = segmentOf(row.split(UNIT));
          network.setSegment(i, 'kind', segment.kind);
          for (const key of netKeys) if (key !== 'kind') network.setSegment(i, key, segment[key]);
        }
      }
      network.commit('');
      setNetFileName(entry.fileName || '');
      netTouched = true;
      netShowInputs();
      netShowComputed();
    }
    baseline[doc] = entry.baseline || '';
    changed(doc);
  }

  // ---------------------------------------------------------------- views

  // The two documents, one view each; the URL's fragment names the view
  // (#facility, #network), so Back and a bookmark bring it back.
  function showView() {
    const view = location.hash === '#network' ? 'network' : 'facility';
    document.body.dataset.view = view;
    $('view-facility').hidden = view !== 'facility';
    $('view-network').hidden = view !== 'network';
    $('toolbar-facility').hidden = view !== 'facility';
    $('toolbar-network').hidden = view !== 'network';
    for (const name of ['facility', 'network']) {
      const tab = $('tab-' + name);
      if (name === view) tab.setAttribute('aria-current', 'page');
      else tab.removeAttribute('aria-current');
    }
    clearMessage();
  }

  function wireDocuments() {
    // The app bar's height, kept clear by scrolling and by the message.
    const bar = document.querySelector('.appbar');
    const barHeight = () => document.documentElement.style.setProperty('--bar', bar.offsetHeight + 'px');
    new ResizeObserver(barHeight).observe(bar);
    barHeight();
    window.addEventListener('hashchange', showView);
    // Ctrl+Z / Ctrl+Y (and Ctrl+Shift+Z): the open view's document.
    document.addEventListener('keydown', (event) => {
      if (!(event.ctrlKey || event.metaKey) || event.altKey) return;
      const key = event.key.toLowerCase();
      const which = key === 'z' && !event.shiftKey ? 'undo' : key === 'y' || (key === 'z' && event.shiftKey) ? 'redo' : null;
      if (!which || !$('restore').hidden) return;
      event.preventDefault();
      if (document.body.dataset.view === 'network') netStep(which);
      else facilityStep(which);
    });
    window.addEventListener('beforeunload', (event) => {
      keepAll();
      if (isModified('facility') || isModified('network')) {
        event.preventDefault();
        event.returnValue = '';
      }
    });
    window.addEventListener('pagehide', keepAll);
    document.addEventListener('visibilitychange', keepAll);
  }

  // ---------------------------------------------------------------- start

  MirukanaCore().then((instance) => {
    core = instance;
    project = new core.Project();
    // The facility lists line up by their leading blanks, as on the desktop.
    for (const option of document.querySelectorAll('select.list option')) {
      option.textContent = option.textContent.replace(/ /g, '\u00a0');
    }
    buildRunoffScreen();
    // Each control's name (as the validations name it) is its description.
    for (const el of document.querySelectorAll('input[id^="Form"], select[id^="Form"], button[id^="Form"]')) {
      el.setAttribute('aria-description', el.id.slice(el.id.indexOf('-') + 1));
    }
    wire();
    wireNetwork();
    wireDocuments();
    openInForce();
    refresh();
    baseline.facility = facilityContent();
    baseline.network = networkContent();
    status(NOTICE_MAIN);
    showView();
    $('loading').hidden = true;
    $('screens').hidden = false;
    offerKept();
    document.body.dataset.ready = String(Math.round(performance.now()));
  });
})();
