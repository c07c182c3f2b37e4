// SPDX-License-Identifier: MIT
// @ts-check
// Practice and the worksheet: the part of the page that the build keeps
// apart, as text, and that the page evaluates only where it is wanted, so
// that the plain page starts as soon as it can. It takes the modules it
// shares with the page from the page.
export { anotherLikeIt, render, startPractice } from "./practice-page.mjs";
export { renderWorksheet } from "./worksheet-page.mjs";
