// The flat font's glyphs, characters 33 to 126: PICT2 pictures of
// white polylines within x -30 to 30 and y -75 to 45, built for an
// advance of 90 units.
// Written by tools/glyphgen/make.py, laid out as it writes them:
// clang-format off
#include "graphics/text/text_glyphs.h"

namespace {

// !
const char* const kFlat33[] = {
    "Pict2|PLL|COL 255 255 255|VER 0 45|VER 0 -15|ENDO|PLL|COL 255 255 255|VER 0 -36|VER 0 -45|ENDO|ENDPICT",
    nullptr};
// "
const char* const kFlat34[] = {
    "Pict2|PLL|COL 255 255 255|VER -15 45|VER -15 22.5|ENDO|PLL|COL 255 255 255|VER 15 45|VER 15 22.5|ENDO|ENDPICT",
    nullptr};
// #
const char* const kFlat35[] = {
    "Pict2|PLL|COL 255 255 255|VER -15 -45|VER -7.5 45|ENDO|PLL|COL 255 255 255|VER 7.5 -45|VER 15 45|ENDO|PLL|COL 255 255 255|VER -30 -15|VER 30 -15|ENDO|PLL|COL 255 255 255|VER -30 15|VER 30 15|ENDO|ENDPICT",
    nullptr};
// $
const char* const kFlat36[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 30|VER -15 30|VER -30 15|VER -15 0|VER 15 0|VER 30 -15|VER 15 -30|VER -30 -30|ENDO|PLL|COL 255 255 255|VER 0 45|VER 0 -45|ENDO|ENDPICT",
    nullptr};
// %
const char* const kFlat37[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -45|VER 30 45|ENDO|PLL|COL 255 255 255|VER -30 45|VER -15 45|VER -15 30|VER -30 30|VER -30 45|ENDO|PLL|COL 255 255 255|VER 15 -30|VER 30 -30|VER 30 -45|VER 15 -45|VER 15 -30|ENDO|ENDPICT",
    nullptr};
// &
const char* const kFlat38[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 -45|VER -15 15|VER -15 30|VER 0 45|VER 15 30|VER -30 -15|VER -30 -30|VER -15 -45|VER 0 -45|VER 30 -15|ENDO|ENDPICT",
    nullptr};
// '
const char* const kFlat39[] = {
    "Pict2|PLL|COL 255 255 255|VER 0 45|VER 0 22.5|ENDO|ENDPICT",
    nullptr};
// (
const char* const kFlat40[] = {
    "Pict2|PLL|COL 255 255 255|VER 15 45|VER 0 30|VER -7.5 0|VER 0 -30|VER 15 -45|ENDO|ENDPICT",
    nullptr};
// )
const char* const kFlat41[] = {
    "Pict2|PLL|COL 255 255 255|VER -15 45|VER 0 30|VER 7.5 0|VER 0 -30|VER -15 -45|ENDO|ENDPICT",
    nullptr};
// *
const char* const kFlat42[] = {
    "Pict2|PLL|COL 255 255 255|VER 0 30|VER 0 -30|ENDO|PLL|COL 255 255 255|VER -30 15|VER 30 -15|ENDO|PLL|COL 255 255 255|VER -30 -15|VER 30 15|ENDO|ENDPICT",
    nullptr};
// +
const char* const kFlat43[] = {
    "Pict2|PLL|COL 255 255 255|VER 0 30|VER 0 -30|ENDO|PLL|COL 255 255 255|VER -30 0|VER 30 0|ENDO|ENDPICT",
    nullptr};
// ,
const char* const kFlat44[] = {
    "Pict2|PLL|COL 255 255 255|VER 0 -36|VER 0 -45|VER -15 -60|ENDO|ENDPICT",
    nullptr};
// -
const char* const kFlat45[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 0|VER 30 0|ENDO|ENDPICT",
    nullptr};
// .
const char* const kFlat46[] = {
    "Pict2|PLL|COL 255 255 255|VER 0 -36|VER 0 -45|ENDO|ENDPICT",
    nullptr};
// /
const char* const kFlat47[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -45|VER 30 45|ENDO|ENDPICT",
    nullptr};
// 0
const char* const kFlat48[] = {
    "Pict2|PLL|COL 255 255 255|VER -15 -45|VER 15 -45|VER 30 -30|VER 30 30|VER 15 45|VER -15 45|VER -30 30|VER -30 -30|VER -15 -45|ENDO|PLL|COL 255 255 255|VER -30 -30|VER 30 30|ENDO|ENDPICT",
    nullptr};
// 1
const char* const kFlat49[] = {
    "Pict2|PLL|COL 255 255 255|VER -15 30|VER 0 45|VER 0 -45|ENDO|PLL|COL 255 255 255|VER -15 -45|VER 15 -45|ENDO|ENDPICT",
    nullptr};
// 2
const char* const kFlat50[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 30|VER -15 45|VER 15 45|VER 30 30|VER 30 15|VER -30 -45|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// 3
const char* const kFlat51[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 30|VER -15 45|VER 15 45|VER 30 30|VER 30 15|VER 15 0|VER 30 -15|VER 30 -30|VER 15 -45|VER -15 -45|VER -30 -30|ENDO|PLL|COL 255 255 255|VER -15 0|VER 15 0|ENDO|ENDPICT",
    nullptr};
// 4
const char* const kFlat52[] = {
    "Pict2|PLL|COL 255 255 255|VER 15 -45|VER 15 45|VER -30 -15|VER 30 -15|ENDO|ENDPICT",
    nullptr};
// 5
const char* const kFlat53[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 45|VER -30 45|VER -30 0|VER 15 0|VER 30 -15|VER 30 -30|VER 15 -45|VER -30 -45|ENDO|ENDPICT",
    nullptr};
// 6
const char* const kFlat54[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 30|VER 15 45|VER -15 45|VER -30 30|VER -30 -30|VER -15 -45|VER 15 -45|VER 30 -30|VER 30 -15|VER 15 0|VER -30 0|ENDO|ENDPICT",
    nullptr};
// 7
const char* const kFlat55[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 45|VER 30 45|VER -15 -45|ENDO|ENDPICT",
    nullptr};
// 8
const char* const kFlat56[] = {
    "Pict2|PLL|COL 255 255 255|VER -15 0|VER -30 15|VER -30 30|VER -15 45|VER 15 45|VER 30 30|VER 30 15|VER 15 0|VER -15 0|VER -30 -15|VER -30 -30|VER -15 -45|VER 15 -45|VER 30 -30|VER 30 -15|VER 15 0|ENDO|ENDPICT",
    nullptr};
// 9
const char* const kFlat57[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 0|VER -15 0|VER -30 15|VER -30 30|VER -15 45|VER 15 45|VER 30 30|VER 30 -30|VER 15 -45|VER -15 -45|VER -30 -30|ENDO|ENDPICT",
    nullptr};
// :
const char* const kFlat58[] = {
    "Pict2|PLL|COL 255 255 255|VER 0 15|VER 0 6|ENDO|PLL|COL 255 255 255|VER 0 -36|VER 0 -45|ENDO|ENDPICT",
    nullptr};
// ;
const char* const kFlat59[] = {
    "Pict2|PLL|COL 255 255 255|VER 0 15|VER 0 6|ENDO|PLL|COL 255 255 255|VER 0 -36|VER 0 -45|VER -15 -60|ENDO|ENDPICT",
    nullptr};
// <
const char* const kFlat60[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 30|VER -30 0|VER 30 -30|ENDO|ENDPICT",
    nullptr};
// =
const char* const kFlat61[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 15|VER 30 15|ENDO|PLL|COL 255 255 255|VER -30 -15|VER 30 -15|ENDO|ENDPICT",
    nullptr};
// >
const char* const kFlat62[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 30|VER 30 0|VER -30 -30|ENDO|ENDPICT",
    nullptr};
// ?
const char* const kFlat63[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 30|VER -15 45|VER 15 45|VER 30 30|VER 30 15|VER 0 0|VER 0 -15|ENDO|PLL|COL 255 255 255|VER 0 -36|VER 0 -45|ENDO|ENDPICT",
    nullptr};
// @
const char* const kFlat64[] = {
    "Pict2|PLL|COL 255 255 255|VER 15 -15|VER 15 15|VER -15 15|VER -15 -15|VER 15 -15|VER 30 0|VER 30 30|VER 15 45|VER -15 45|VER -30 30|VER -30 -30|VER -15 -45|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// A
const char* const kFlat65[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -45|VER -30 15|VER 0 45|VER 30 15|VER 30 -45|ENDO|PLL|COL 255 255 255|VER -30 0|VER 30 0|ENDO|ENDPICT",
    nullptr};
// B
const char* const kFlat66[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -45|VER -30 45|VER 15 45|VER 30 30|VER 30 15|VER 15 0|VER -30 0|ENDO|PLL|COL 255 255 255|VER 15 0|VER 30 -15|VER 30 -30|VER 15 -45|VER -30 -45|ENDO|ENDPICT",
    nullptr};
// C
const char* const kFlat67[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 30|VER 15 45|VER -15 45|VER -30 30|VER -30 -30|VER -15 -45|VER 15 -45|VER 30 -30|ENDO|ENDPICT",
    nullptr};
// D
const char* const kFlat68[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -45|VER -30 45|VER 0 45|VER 30 15|VER 30 -15|VER 0 -45|VER -30 -45|ENDO|ENDPICT",
    nullptr};
// E
const char* const kFlat69[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 45|VER -30 45|VER -30 -45|VER 30 -45|ENDO|PLL|COL 255 255 255|VER -30 0|VER 15 0|ENDO|ENDPICT",
    nullptr};
// F
const char* const kFlat70[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 45|VER -30 45|VER -30 -45|ENDO|PLL|COL 255 255 255|VER -30 0|VER 15 0|ENDO|ENDPICT",
    nullptr};
// G
const char* const kFlat71[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 30|VER 15 45|VER -15 45|VER -30 30|VER -30 -30|VER -15 -45|VER 15 -45|VER 30 -30|VER 30 0|VER 0 0|ENDO|ENDPICT",
    nullptr};
// H
const char* const kFlat72[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -45|VER -30 45|ENDO|PLL|COL 255 255 255|VER 30 -45|VER 30 45|ENDO|PLL|COL 255 255 255|VER -30 0|VER 30 0|ENDO|ENDPICT",
    nullptr};
// I
const char* const kFlat73[] = {
    "Pict2|PLL|COL 255 255 255|VER -15 45|VER 15 45|ENDO|PLL|COL 255 255 255|VER 0 45|VER 0 -45|ENDO|PLL|COL 255 255 255|VER -15 -45|VER 15 -45|ENDO|ENDPICT",
    nullptr};
// J
const char* const kFlat74[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 45|VER 30 -30|VER 15 -45|VER -15 -45|VER -30 -30|ENDO|ENDPICT",
    nullptr};
// K
const char* const kFlat75[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -45|VER -30 45|ENDO|PLL|COL 255 255 255|VER 30 45|VER -30 -15|ENDO|PLL|COL 255 255 255|VER -15 0|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// L
const char* const kFlat76[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 45|VER -30 -45|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// M
const char* const kFlat77[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -45|VER -30 45|VER 0 0|VER 30 45|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// N
const char* const kFlat78[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -45|VER -30 45|VER 30 -45|VER 30 45|ENDO|ENDPICT",
    nullptr};
// O
const char* const kFlat79[] = {
    "Pict2|PLL|COL 255 255 255|VER -15 -45|VER 15 -45|VER 30 -30|VER 30 30|VER 15 45|VER -15 45|VER -30 30|VER -30 -30|VER -15 -45|ENDO|ENDPICT",
    nullptr};
// P
const char* const kFlat80[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -45|VER -30 45|VER 15 45|VER 30 30|VER 30 15|VER 15 0|VER -30 0|ENDO|ENDPICT",
    nullptr};
// Q
const char* const kFlat81[] = {
    "Pict2|PLL|COL 255 255 255|VER -15 -45|VER 15 -45|VER 30 -30|VER 30 30|VER 15 45|VER -15 45|VER -30 30|VER -30 -30|VER -15 -45|ENDO|PLL|COL 255 255 255|VER 0 -15|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// R
const char* const kFlat82[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -45|VER -30 45|VER 15 45|VER 30 30|VER 30 15|VER 15 0|VER -30 0|ENDO|PLL|COL 255 255 255|VER 0 0|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// S
const char* const kFlat83[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 30|VER 15 45|VER -15 45|VER -30 30|VER -30 15|VER -15 0|VER 15 0|VER 30 -15|VER 30 -30|VER 15 -45|VER -15 -45|VER -30 -30|ENDO|ENDPICT",
    nullptr};
// T
const char* const kFlat84[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 45|VER 30 45|ENDO|PLL|COL 255 255 255|VER 0 45|VER 0 -45|ENDO|ENDPICT",
    nullptr};
// U
const char* const kFlat85[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 45|VER -30 -30|VER -15 -45|VER 15 -45|VER 30 -30|VER 30 45|ENDO|ENDPICT",
    nullptr};
// V
const char* const kFlat86[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 45|VER 0 -45|VER 30 45|ENDO|ENDPICT",
    nullptr};
// W
const char* const kFlat87[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 45|VER -15 -45|VER 0 0|VER 15 -45|VER 30 45|ENDO|ENDPICT",
    nullptr};
// X
const char* const kFlat88[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -45|VER 30 45|ENDO|PLL|COL 255 255 255|VER -30 45|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// Y
const char* const kFlat89[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 45|VER 0 0|VER 30 45|ENDO|PLL|COL 255 255 255|VER 0 0|VER 0 -45|ENDO|ENDPICT",
    nullptr};
// Z
const char* const kFlat90[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 45|VER 30 45|VER -30 -45|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// [
const char* const kFlat91[] = {
    "Pict2|PLL|COL 255 255 255|VER 15 45|VER -15 45|VER -15 -45|VER 15 -45|ENDO|ENDPICT",
    nullptr};
// backslash
const char* const kFlat92[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 45|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// ]
const char* const kFlat93[] = {
    "Pict2|PLL|COL 255 255 255|VER -15 45|VER 15 45|VER 15 -45|VER -15 -45|ENDO|ENDPICT",
    nullptr};
// ^
const char* const kFlat94[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 15|VER 0 45|VER 30 15|ENDO|ENDPICT",
    nullptr};
// _
const char* const kFlat95[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -60|VER 30 -60|ENDO|ENDPICT",
    nullptr};
// `
const char* const kFlat96[] = {
    "Pict2|PLL|COL 255 255 255|VER -15 45|VER 0 30|ENDO|ENDPICT",
    nullptr};
// a
const char* const kFlat97[] = {
    "Pict2|PLL|COL 255 255 255|VER -15 15|VER 15 15|VER 30 0|VER 30 -45|VER -15 -45|VER -30 -30|VER -15 -15|VER 30 -15|ENDO|ENDPICT",
    nullptr};
// b
const char* const kFlat98[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 45|VER -30 -45|VER 15 -45|VER 30 -30|VER 30 0|VER 15 15|VER -30 15|ENDO|ENDPICT",
    nullptr};
// c
const char* const kFlat99[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 15|VER -15 15|VER -30 0|VER -30 -30|VER -15 -45|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// d
const char* const kFlat100[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 45|VER 30 -45|VER -15 -45|VER -30 -30|VER -30 0|VER -15 15|VER 30 15|ENDO|ENDPICT",
    nullptr};
// e
const char* const kFlat101[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -15|VER 30 -15|VER 30 0|VER 15 15|VER -15 15|VER -30 0|VER -30 -30|VER -15 -45|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// f
const char* const kFlat102[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 45|VER 15 45|VER 0 30|VER 0 -45|ENDO|PLL|COL 255 255 255|VER -15 15|VER 15 15|ENDO|ENDPICT",
    nullptr};
// g
const char* const kFlat103[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 15|VER -15 15|VER -30 0|VER -30 -30|VER -15 -45|VER 30 -45|ENDO|PLL|COL 255 255 255|VER 30 15|VER 30 -60|VER 15 -75|VER -30 -75|ENDO|ENDPICT",
    nullptr};
// h
const char* const kFlat104[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 45|VER -30 -45|ENDO|PLL|COL 255 255 255|VER -30 15|VER 15 15|VER 30 0|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// i
const char* const kFlat105[] = {
    "Pict2|PLL|COL 255 255 255|VER 0 15|VER 0 -45|ENDO|PLL|COL 255 255 255|VER 0 39|VER 0 30|ENDO|ENDPICT",
    nullptr};
// j
const char* const kFlat106[] = {
    "Pict2|PLL|COL 255 255 255|VER 15 15|VER 15 -60|VER 0 -75|VER -15 -75|ENDO|PLL|COL 255 255 255|VER 15 39|VER 15 30|ENDO|ENDPICT",
    nullptr};
// k
const char* const kFlat107[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 45|VER -30 -45|ENDO|PLL|COL 255 255 255|VER 30 15|VER -30 -22.5|ENDO|PLL|COL 255 255 255|VER -15 -15|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// l
const char* const kFlat108[] = {
    "Pict2|PLL|COL 255 255 255|VER -15 45|VER 0 45|VER 0 -45|ENDO|PLL|COL 255 255 255|VER -15 -45|VER 15 -45|ENDO|ENDPICT",
    nullptr};
// m
const char* const kFlat109[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -45|VER -30 15|ENDO|PLL|COL 255 255 255|VER -30 0|VER -15 15|VER 0 0|VER 0 -45|ENDO|PLL|COL 255 255 255|VER 0 0|VER 15 15|VER 30 0|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// n
const char* const kFlat110[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -45|VER -30 15|ENDO|PLL|COL 255 255 255|VER -30 0|VER -15 15|VER 15 15|VER 30 0|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// o
const char* const kFlat111[] = {
    "Pict2|PLL|COL 255 255 255|VER -15 -45|VER 15 -45|VER 30 -30|VER 30 0|VER 15 15|VER -15 15|VER -30 0|VER -30 -30|VER -15 -45|ENDO|ENDPICT",
    nullptr};
// p
const char* const kFlat112[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -75|VER -30 15|VER 15 15|VER 30 0|VER 30 -30|VER 15 -45|VER -30 -45|ENDO|ENDPICT",
    nullptr};
// q
const char* const kFlat113[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 -75|VER 30 15|VER -15 15|VER -30 0|VER -30 -30|VER -15 -45|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// r
const char* const kFlat114[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -45|VER -30 15|ENDO|PLL|COL 255 255 255|VER -30 0|VER -15 15|VER 30 15|ENDO|ENDPICT",
    nullptr};
// s
const char* const kFlat115[] = {
    "Pict2|PLL|COL 255 255 255|VER 30 15|VER -15 15|VER -30 0|VER -15 -15|VER 15 -15|VER 30 -30|VER 15 -45|VER -30 -45|ENDO|ENDPICT",
    nullptr};
// t
const char* const kFlat116[] = {
    "Pict2|PLL|COL 255 255 255|VER 0 45|VER 0 -30|VER 15 -45|VER 30 -45|ENDO|PLL|COL 255 255 255|VER -15 15|VER 15 15|ENDO|ENDPICT",
    nullptr};
// u
const char* const kFlat117[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 15|VER -30 -30|VER -15 -45|VER 30 -45|VER 30 15|ENDO|ENDPICT",
    nullptr};
// v
const char* const kFlat118[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 15|VER 0 -45|VER 30 15|ENDO|ENDPICT",
    nullptr};
// w
const char* const kFlat119[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 15|VER -15 -45|VER 0 -15|VER 15 -45|VER 30 15|ENDO|ENDPICT",
    nullptr};
// x
const char* const kFlat120[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 -45|VER 30 15|ENDO|PLL|COL 255 255 255|VER -30 15|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// y
const char* const kFlat121[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 15|VER 0 -45|ENDO|PLL|COL 255 255 255|VER 30 15|VER -15 -75|ENDO|ENDPICT",
    nullptr};
// z
const char* const kFlat122[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 15|VER 30 15|VER -30 -45|VER 30 -45|ENDO|ENDPICT",
    nullptr};
// {
const char* const kFlat123[] = {
    "Pict2|PLL|COL 255 255 255|VER 15 45|VER 0 30|VER 0 15|VER -15 0|VER 0 -15|VER 0 -30|VER 15 -45|ENDO|ENDPICT",
    nullptr};
// |
const char* const kFlat124[] = {
    "Pict2|PLL|COL 255 255 255|VER 0 45|VER 0 -60|ENDO|ENDPICT",
    nullptr};
// }
const char* const kFlat125[] = {
    "Pict2|PLL|COL 255 255 255|VER -15 45|VER 0 30|VER 0 15|VER 15 0|VER 0 -15|VER 0 -30|VER -15 -45|ENDO|ENDPICT",
    nullptr};
// ~
const char* const kFlat126[] = {
    "Pict2|PLL|COL 255 255 255|VER -30 0|VER -15 15|VER 15 0|VER 30 15|ENDO|ENDPICT",
    nullptr};

}  // namespace

const char* const* const PwFlatGlyphSource[kPwGlyphCount] = {
    kFlat33,
    kFlat34,
    kFlat35,
    kFlat36,
    kFlat37,
    kFlat38,
    kFlat39,
    kFlat40,
    kFlat41,
    kFlat42,
    kFlat43,
    kFlat44,
    kFlat45,
    kFlat46,
    kFlat47,
    kFlat48,
    kFlat49,
    kFlat50,
    kFlat51,
    kFlat52,
    kFlat53,
    kFlat54,
    kFlat55,
    kFlat56,
    kFlat57,
    kFlat58,
    kFlat59,
    kFlat60,
    kFlat61,
    kFlat62,
    kFlat63,
    kFlat64,
    kFlat65,
    kFlat66,
    kFlat67,
    kFlat68,
    kFlat69,
    kFlat70,
    kFlat71,
    kFlat72,
    kFlat73,
    kFlat74,
    kFlat75,
    kFlat76,
    kFlat77,
    kFlat78,
    kFlat79,
    kFlat80,
    kFlat81,
    kFlat82,
    kFlat83,
    kFlat84,
    kFlat85,
    kFlat86,
    kFlat87,
    kFlat88,
    kFlat89,
    kFlat90,
    kFlat91,
    kFlat92,
    kFlat93,
    kFlat94,
    kFlat95,
    kFlat96,
    kFlat97,
    kFlat98,
    kFlat99,
    kFlat100,
    kFlat101,
    kFlat102,
    kFlat103,
    kFlat104,
    kFlat105,
    kFlat106,
    kFlat107,
    kFlat108,
    kFlat109,
    kFlat110,
    kFlat111,
    kFlat112,
    kFlat113,
    kFlat114,
    kFlat115,
    kFlat116,
    kFlat117,
    kFlat118,
    kFlat119,
    kFlat120,
    kFlat121,
    kFlat122,
    kFlat123,
    kFlat124,
    kFlat125,
    kFlat126,
};
