// Shared by the feed's pages: follows /live and draws LED digits. No outside resources.
"use strict";

// Connects to the board's live feed and calls onState(state) for every message. When the
// program goes away (restart, network) it tries again every second or two, for ever.
function followFeed(onState, onOnline) {
  let delay = 500;
  function connect() {
    const scheme = location.protocol === "https:" ? "wss://" : "ws://";
    let socket;
    try {
      socket = new WebSocket(scheme + location.host + "/live");
    } catch (e) {
      setTimeout(connect, delay);
      return;
    }
    socket.onopen = () => { delay = 500; if (onOnline) onOnline(true); };
    socket.onmessage = (event) => {
      let state;
      try { state = JSON.parse(event.data); } catch (e) { return; }
      // Only this board's messages: another program on the port is not shown as the board.
      if (state && state.program === "Pucktally" && state.format === 1) onState(state);
    };
    socket.onclose = () => {
      if (onOnline) onOnline(false);
      setTimeout(connect, delay);
      delay = Math.min(delay * 2, 2000);
    };
    socket.onerror = () => socket.close();
  }
  connect();
}

// The segments lit for each digit: a top, b upper right, c lower right, d bottom,
// e lower left, f upper left, g middle.
const SEGMENTS = {
  "0": "abcdef", "1": "bc", "2": "abdeg", "3": "abcdg", "4": "bcfg",
  "5": "acdfg", "6": "acdefg", "7": "abc", "8": "abcdefg", "9": "abcdfg", " ": ""
};

// Segment ends in a 10 x 20 cell, for lines and for rows of dots.
const SEGMENT_LINES = {
  a: [2, 1, 8, 1], b: [9, 2, 9, 9], c: [9, 11, 9, 18], d: [2, 19, 8, 19],
  e: [1, 11, 1, 18], f: [1, 2, 1, 9], g: [2, 10, 8, 10]
};

const SVG = "http://www.w3.org/2000/svg";

function svgElement(name, attributes) {
  const element = document.createElementNS(SVG, name);
  for (const key in attributes) element.setAttribute(key, attributes[key]);
  return element;
}

// One LED digit drawn into an <svg> group at (x, y), `height` tall, in segments or dots.
function drawDigit(group, x, y, height, ch, color, style) {
  const scale = height / 20;
  const lit = SEGMENTS[ch] || "";
  for (const name in SEGMENT_LINES) {
    const [x1, y1, x2, y2] = SEGMENT_LINES[name].map((v) => v * scale);
    const on = lit.includes(name);
    const paint = { fill: color, stroke: color, opacity: on ? 1 : 0.08 };
    if (style === "dots") {
      for (let i = 0; i <= 3; ++i) {
        group.appendChild(svgElement("circle", Object.assign({
          cx: x + x1 + (x2 - x1) * i / 3, cy: y + y1 + (y2 - y1) * i / 3, r: 0.9 * scale
        }, paint)));
      }
    } else {
      group.appendChild(svgElement("line", Object.assign({
        x1: x + x1, y1: y + y1, x2: x + x2, y2: y + y2,
        "stroke-width": 1.6 * scale, "stroke-linecap": "round"
      }, paint)));
    }
  }
}

// Right-aligns a number into `cells` characters; null (a blank field) is all blanks.
function numberCells(value, cells) {
  const text = value === null || value === undefined ? "" : String(value);
  return text.padStart(cells, " ").slice(-cells);
}

// A time as shown ("9:57", "45.3", "1:45") into left and right cells around its separator.
function timeCells(text, leftCells, rightCells) {
  const match = /^\s*(\d*)([:.]?)(\d*)\s*$/.exec(text || "") || ["", "", "", ""];
  return {
    left: match[1].padStart(leftCells, " ").slice(-leftCells),
    separator: match[2],
    right: match[3].padEnd(rightCells, " ").slice(0, rightCells)
  };
}
