-- The rules database of tpworm, db1.mdb (and its copy db1.wrx, the default
-- rule set). The build turns this file into an SQLite database with the
-- sqlite3 command-line shell; nothing here is edited in binary form.
--
-- The program reads the tables by column position and the rows in stored
-- order (rowid), so the order of the columns in every CREATE TABLE and the
-- order of the rows in every INSERT are part of the format:
--
--   nzhi            2 = N (current value, the only column the program
--                   writes), 3 = default value, JSGS = the rule text
--   6ji, 7ji, 8ji   1 = centre distance above (excluded), 2 = up to
--                   (included), 3, 4, 8, 9, 10, 11 = tolerance texts,
--                   16 = standard backlash
--   xiuyuan         2 = centre distance up to, 3 ... 6 = entry relief for
--                   the four ratio bands
--   xiuyuanchangdu  2 = wheel teeth up to, 3 and 4 = entry and exit relief
--                   lengths (text: they are joined to other text)
--   friction        1 = material-pair key, 2 = its name as listed, 3 = sliding
--                   speed m/s (ascending within a pair), 4 = friction
--                   coefficient μ; read by the drive check
--   rated_power     1 = centre distance mm, 2 = ratio, 3 = worm speed r/min,
--                   4 = rated input power kW; shipped empty (the user's data)
--
-- Every range table is ascending in column 2 and its last row reaches the
-- largest key that can be typed (a centre distance of five characters, up to
-- 99999 mm; a tooth count of three digits, up to 999), so every look-up of a
-- typed value finds a row that really covers it.

PRAGMA encoding = 'UTF-8';

BEGIN TRANSACTION;

-- ---------------------------------------------------------------------------
-- nzhi: the sixteen rule coefficients N0 ... N15, row k = coefficient k.
-- mt is the transverse module, p the circular pitch, K the enclosed teeth.
-- ---------------------------------------------------------------------------
CREATE TABLE nzhi (
  ID          INTEGER PRIMARY KEY,  -- 0: row number, 1 ... 16
  Coefficient TEXT NOT NULL,        -- 1: the coefficient's name, N0 ... N15
  N           REAL NOT NULL,        -- 2: current value
  N_default   REAL NOT NULL,        -- 3: default value
  JSGS        TEXT NOT NULL         -- 4: the rule the coefficient enters
);

INSERT INTO nzhi (ID, Coefficient, N, N_default, JSGS) VALUES
  ( 1, 'N0',  0.875, 0.875, '蜗杆分度圆直径推荐值 d1 = 0.76 × a^N0 + k 中中心距 a 的指数；杆分度圆下方的基础值 0.76 × a^N0 也用它'),
  ( 2, 'N1',  1.2,   1.2,   '齿根高系数：齿根高 hf = N1 × mt，由它得蜗杆齿根圆直径和蜗杆齿根圆弧半径'),
  ( 3, 'N2',  1,     1,     '齿顶高系数：齿顶高 ha = N2 × mt，由它得蜗杆齿顶圆直径、蜗杆齿顶圆弧半径和蜗轮各直径'),
  ( 4, 'N3',  0.5,   0.5,   '工作半包角 φw = 0.5 × τ × (K − N3)：从包围齿数中减去的齿数'),
  ( 5, 'N4',  0,     0,     '备用系数，现行计算法则不使用'),
  ( 6, 'N5',  0.55,  0.55,  '蜗轮齿厚占周节的份额：蜗轮齿厚 s2 = N5 × p，蜗杆齿厚 s1 = p − N5 × p − 侧隙'),
  ( 7, 'N6',  2,     2,     '肩台系数：肩台 = N6 × mt，取整数'),
  ( 8, 'N7',  0,     0,     '包围齿数 K = K0 + N7：在基本包围齿数 K0（约为蜗轮齿数的十分之一）上加的齿数'),
  ( 9, 'N8',  0.15,  0.15,  '滚刀齿顶加高系数：滚刀齿顶圆弧半径减小、滚刀法向弦齿高增加 N8 × mt'),
  (10, 'N9',  0.5,   0.5,   '滚刀齿根圆弧半径 = 蜗杆齿根圆弧半径 + N9（毫米）'),
  (11, 'N10', 0.5,   0.5,   '滚刀有效长度所用的滚刀半包角 = 0.5 × τ × (滚刀包围齿数 − N10)：减去的齿数'),
  (12, 'N11', 1,     1,     '滚刀包围齿数 = 包围齿数的整数部分 + N11'),
  (13, 'N12', 0.5,   0.5,   '蜗轮齿顶圆弧半径系数：蜗轮齿顶圆弧半径按 2 × N12 的比例计算'),
  (14, 'N13', 1,     1,     '蜗轮最大外径 = 2 × ha + d2 + N13 × mt：加上的模数个数'),
  (15, 'N14', 0.9,   0.9,   '齿圈工作宽度 = N14 × 蜗杆分度圆直径，取整数'),
  (16, 'N15', 9,     9,     '包围齿数 K 的上限：K 大于 N15 时取 N15');

-- ---------------------------------------------------------------------------
-- 6ji, 7ji, 8ji: tolerances and the standard backlash of the accuracy grades
-- 6, 7 and 8 of GB/T16445-1996 by centre-distance range.
--
-- REFERENCE VALUES ONLY. The text of GB/T16445-1996 was not at hand when these
-- tables were made. The values were derived by engineering judgement: grade 7
-- from the magnitudes usual for worm drives of this size, growing with the
-- centre distance, grade 6 about 0.71 and grade 8 about 1.4 times grade 7 (the
-- usual ratio between neighbouring grades). Check every value against the
-- standard before a drawing is released, and correct this file, not the
-- generated database.
--
-- All tolerances are in millimetres, stored as the text the parameter tables
-- print; the limit deviations (±) are given by their amount. The worm's pitch
-- items 3 and 4 are circular pitches on the wheel's reference arc in the
-- mid-plane: the thread of this worm lies on a toroid, its pitch is uniform
-- as an angle about the wheel axis and its axial pitch is not constant. They
-- keep the symbols fpx and fpxl of the cylindrical-worm items. Where each
-- table comes from is recorded in rules_sources (sources.sql). The first range
-- starts below zero so that a centre distance of 0 finds it as well.
-- ---------------------------------------------------------------------------
CREATE TABLE "6ji" (
  ID                          INTEGER PRIMARY KEY, --  0: row number
  centre_distance_above_mm    REAL NOT NULL,       --  1: range starts above this (excluded)
  centre_distance_upto_mm     REAL NOT NULL,       --  2: range ends at this (included)
  worm_pitch_deviation        TEXT NOT NULL,       --  3: worm circular pitch limit deviation ±fpx
  worm_cumulative_pitch_tol   TEXT NOT NULL,       --  4: worm cumulative circular pitch tolerance fpxl
  worm_profile_tol            TEXT NOT NULL,       --  5: worm profile tolerance ff1
  worm_radial_runout_tol      TEXT NOT NULL,       --  6: worm tooth-space radial runout tolerance fr
  worm_helix_tol              TEXT NOT NULL,       --  7: worm helix tolerance fh
  worm_thickness_tol          TEXT NOT NULL,       --  8: worm tooth thickness tolerance Ts1
  wheel_cumulative_pitch_tol  TEXT NOT NULL,       --  9: wheel cumulative pitch tolerance Fp2
  wheel_pitch_deviation       TEXT NOT NULL,       -- 10: wheel pitch limit deviation ±fpt
  wheel_thickness_tol         TEXT NOT NULL,       -- 11: wheel tooth thickness tolerance Ts2
  wheel_radial_runout_tol     TEXT NOT NULL,       -- 12: wheel rim radial runout tolerance Fr2
  centre_distance_deviation   TEXT NOT NULL,       -- 13: centre distance limit deviation ±fa
  midplane_offset_deviation   TEXT NOT NULL,       -- 14: wheel mid-plane limit deviation ±fx
  shaft_angle_deviation       TEXT NOT NULL,       -- 15: shaft angle limit deviation ±fΣ
  standard_backlash           TEXT NOT NULL        -- 16: standard backlash jn, mm
);

CREATE TABLE "7ji" (
  ID                          INTEGER PRIMARY KEY, --  0: row number
  centre_distance_above_mm    REAL NOT NULL,       --  1: range starts above this (excluded)
  centre_distance_upto_mm     REAL NOT NULL,       --  2: range ends at this (included)
  worm_pitch_deviation        TEXT NOT NULL,       --  3: worm circular pitch limit deviation ±fpx
  worm_cumulative_pitch_tol   TEXT NOT NULL,       --  4: worm cumulative circular pitch tolerance fpxl
  worm_profile_tol            TEXT NOT NULL,       --  5: worm profile tolerance ff1
  worm_radial_runout_tol      TEXT NOT NULL,       --  6: worm tooth-space radial runout tolerance fr
  worm_helix_tol              TEXT NOT NULL,       --  7: worm helix tolerance fh
  worm_thickness_tol          TEXT NOT NULL,       --  8: worm tooth thickness tolerance Ts1
  wheel_cumulative_pitch_tol  TEXT NOT NULL,       --  9: wheel cumulative pitch tolerance Fp2
  wheel_pitch_deviation       TEXT NOT NULL,       -- 10: wheel pitch limit deviation ±fpt
  wheel_thickness_tol         TEXT NOT NULL,       -- 11: wheel tooth thickness tolerance Ts2
  wheel_radial_runout_tol     TEXT NOT NULL,       -- 12: wheel rim radial runout tolerance Fr2
  centre_distance_deviation   TEXT NOT NULL,       -- 13: centre distance limit deviation ±fa
  midplane_offset_deviation   TEXT NOT NULL,       -- 14: wheel mid-plane limit deviation ±fx
  shaft_angle_deviation       TEXT NOT NULL,       -- 15: shaft angle limit deviation ±fΣ
  standard_backlash           TEXT NOT NULL        -- 16: standard backlash jn, mm
);

CREATE TABLE "8ji" (
  ID                          INTEGER PRIMARY KEY, --  0: row number
  centre_distance_above_mm    REAL NOT NULL,       --  1: range starts above this (excluded)
  centre_distance_upto_mm     REAL NOT NULL,       --  2: range ends at this (included)
  worm_pitch_deviation        TEXT NOT NULL,       --  3: worm circular pitch limit deviation ±fpx
  worm_cumulative_pitch_tol   TEXT NOT NULL,       --  4: worm cumulative circular pitch tolerance fpxl
  worm_profile_tol            TEXT NOT NULL,       --  5: worm profile tolerance ff1
  worm_radial_runout_tol      TEXT NOT NULL,       --  6: worm tooth-space radial runout tolerance fr
  worm_helix_tol              TEXT NOT NULL,       --  7: worm helix tolerance fh
  worm_thickness_tol          TEXT NOT NULL,       --  8: worm tooth thickness tolerance Ts1
  wheel_cumulative_pitch_tol  TEXT NOT NULL,       --  9: wheel cumulative pitch tolerance Fp2
  wheel_pitch_deviation       TEXT NOT NULL,       -- 10: wheel pitch limit deviation ±fpt
  wheel_thickness_tol         TEXT NOT NULL,       -- 11: wheel tooth thickness tolerance Ts2
  wheel_radial_runout_tol     TEXT NOT NULL,       -- 12: wheel rim radial runout tolerance Fr2
  centre_distance_deviation   TEXT NOT NULL,       -- 13: centre distance limit deviation ±fa
  midplane_offset_deviation   TEXT NOT NULL,       -- 14: wheel mid-plane limit deviation ±fx
  shaft_angle_deviation       TEXT NOT NULL,       -- 15: shaft angle limit deviation ±fΣ
  standard_backlash           TEXT NOT NULL        -- 16: standard backlash jn, mm
);

INSERT INTO "6ji" VALUES
  ( 1,    -1,    40, '0.007', '0.011', '0.009', '0.011', '0.013', '0.033', '0.027', '0.008', '0.048', '0.024', '0.012', '0.01', '0.008', '0.08'),
  ( 2,    40,    80, '0.009', '0.015', '0.012', '0.014', '0.017', '0.044', '0.036', '0.011', '0.064', '0.03', '0.017', '0.014', '0.01', '0.11'),
  ( 3,    80,   120, '0.011', '0.018', '0.015', '0.017', '0.021', '0.057', '0.046', '0.013', '0.082', '0.038', '0.022', '0.018', '0.012', '0.14'),
  ( 4,   120,   160, '0.012', '0.021', '0.017', '0.02', '0.025', '0.066', '0.054', '0.015', '0.096', '0.044', '0.027', '0.022', '0.014', '0.17'),
  ( 5,   160,   250, '0.014', '0.024', '0.02', '0.023', '0.028', '0.078', '0.064', '0.018', '0.114', '0.05', '0.032', '0.026', '0.016', '0.26'),
  ( 6,   250,   315, '0.016', '0.028', '0.023', '0.026', '0.033', '0.091', '0.074', '0.02', '0.132', '0.058', '0.038', '0.031', '0.018', '0.3'),
  ( 7,   315,   400, '0.018', '0.03', '0.025', '0.029', '0.036', '0.101', '0.083', '0.022', '0.147', '0.063', '0.043', '0.035', '0.019', '0.34'),
  ( 8,   400,   500, '0.02', '0.033', '0.027', '0.031', '0.039', '0.112', '0.092', '0.024', '0.163', '0.07', '0.048', '0.039', '0.021', '0.38'),
  ( 9,   500,   630, '0.021', '0.036', '0.03', '0.034', '0.043', '0.124', '0.102', '0.027', '0.181', '0.076', '0.054', '0.044', '0.022', '0.42'),
  (10,   630,   800, '0.024', '0.04', '0.033', '0.038', '0.047', '0.138', '0.113', '0.029', '0.201', '0.084', '0.06', '0.049', '0.024', '0.51'),
  (11,   800,  1000, '0.026', '0.044', '0.036', '0.041', '0.052', '0.153', '0.125', '0.032', '0.223', '0.092', '0.068', '0.056', '0.026', '0.6'),
  (12,  1000,  1250, '0.028', '0.048', '0.04', '0.045', '0.057', '0.169', '0.139', '0.035', '0.246', '0.1', '0.076', '0.062', '0.029', '0.68'),
  (13,  1250,  1600, '0.031', '0.053', '0.043', '0.05', '0.062', '0.188', '0.154', '0.039', '0.274', '0.11', '0.085', '0.07', '0.031', '0.76'),
  (14,  1600,  2000, '0.034', '0.058', '0.048', '0.055', '0.068', '0.209', '0.171', '0.043', '0.304', '0.121', '0.096', '0.079', '0.034', '0.85'),
  (15,  2000,  2500, '0.037', '0.063', '0.052', '0.06', '0.075', '0.231', '0.189', '0.047', '0.337', '0.132', '0.107', '0.088', '0.036', '1.02'),
  (16,  2500, 99999, '0.043', '0.073', '0.06', '0.068', '0.086', '0.27', '0.221', '0.053', '0.393', '0.152', '0.127', '0.104', '0.041', '1.27');

INSERT INTO "7ji" VALUES
  ( 1,    -1,    40, '0.009', '0.016', '0.013', '0.015', '0.019', '0.047', '0.038', '0.012', '0.068', '0.033', '0.017', '0.014', '0.011', '0.1'),
  ( 2,    40,    80, '0.012', '0.021', '0.017', '0.019', '0.024', '0.062', '0.051', '0.015', '0.091', '0.043', '0.024', '0.02', '0.014', '0.13'),
  ( 3,    80,   120, '0.015', '0.026', '0.021', '0.024', '0.03', '0.08', '0.065', '0.019', '0.116', '0.053', '0.031', '0.026', '0.017', '0.16'),
  ( 4,   120,   160, '0.017', '0.029', '0.024', '0.028', '0.035', '0.093', '0.076', '0.022', '0.136', '0.061', '0.037', '0.031', '0.019', '0.2'),
  ( 5,   160,   250, '0.02', '0.034', '0.028', '0.032', '0.04', '0.11', '0.09', '0.025', '0.16', '0.071', '0.045', '0.037', '0.022', '0.3'),
  ( 6,   250,   315, '0.023', '0.039', '0.032', '0.037', '0.046', '0.128', '0.105', '0.029', '0.186', '0.081', '0.053', '0.044', '0.025', '0.35'),
  ( 7,   315,   400, '0.025', '0.043', '0.035', '0.04', '0.05', '0.142', '0.117', '0.031', '0.207', '0.089', '0.06', '0.049', '0.027', '0.4'),
  ( 8,   400,   500, '0.028', '0.047', '0.039', '0.044', '0.055', '0.158', '0.129', '0.034', '0.23', '0.098', '0.067', '0.055', '0.029', '0.45'),
  ( 9,   500,   630, '0.03', '0.051', '0.042', '0.048', '0.06', '0.175', '0.143', '0.038', '0.255', '0.107', '0.075', '0.062', '0.032', '0.5'),
  (10,   630,   800, '0.033', '0.056', '0.046', '0.053', '0.066', '0.195', '0.159', '0.041', '0.283', '0.118', '0.085', '0.07', '0.034', '0.6'),
  (11,   800,  1000, '0.036', '0.062', '0.051', '0.058', '0.073', '0.216', '0.177', '0.046', '0.314', '0.129', '0.095', '0.078', '0.037', '0.7'),
  (12,  1000,  1250, '0.04', '0.068', '0.056', '0.064', '0.08', '0.239', '0.195', '0.05', '0.347', '0.141', '0.106', '0.087', '0.04', '0.8'),
  (13,  1250,  1600, '0.044', '0.074', '0.061', '0.07', '0.087', '0.265', '0.217', '0.055', '0.386', '0.155', '0.12', '0.098', '0.044', '0.9'),
  (14,  1600,  2000, '0.048', '0.082', '0.067', '0.077', '0.096', '0.295', '0.241', '0.06', '0.429', '0.171', '0.135', '0.111', '0.047', '1'),
  (15,  2000,  2500, '0.053', '0.089', '0.074', '0.084', '0.105', '0.326', '0.267', '0.066', '0.474', '0.186', '0.15', '0.124', '0.051', '1.2'),
  (16,  2500, 99999, '0.06', '0.102', '0.084', '0.096', '0.12', '0.38', '0.311', '0.075', '0.553', '0.214', '0.179', '0.147', '0.058', '1.5');

INSERT INTO "8ji" VALUES
  ( 1,    -1,    40, '0.013', '0.022', '0.018', '0.021', '0.026', '0.066', '0.054', '0.016', '0.095', '0.047', '0.024', '0.02', '0.016', '0.12'),
  ( 2,    40,    80, '0.017', '0.029', '0.024', '0.027', '0.034', '0.087', '0.071', '0.021', '0.127', '0.06', '0.034', '0.028', '0.02', '0.16'),
  ( 3,    80,   120, '0.021', '0.036', '0.029', '0.034', '0.042', '0.112', '0.091', '0.026', '0.162', '0.075', '0.044', '0.036', '0.024', '0.19'),
  ( 4,   120,   160, '0.024', '0.041', '0.034', '0.039', '0.048', '0.131', '0.107', '0.03', '0.19', '0.086', '0.052', '0.043', '0.027', '0.24'),
  ( 5,   160,   250, '0.028', '0.048', '0.039', '0.045', '0.056', '0.154', '0.126', '0.035', '0.224', '0.099', '0.063', '0.052', '0.031', '0.36'),
  ( 6,   250,   315, '0.032', '0.055', '0.045', '0.051', '0.064', '0.179', '0.147', '0.04', '0.261', '0.114', '0.075', '0.061', '0.035', '0.42'),
  ( 7,   315,   400, '0.035', '0.06', '0.049', '0.056', '0.07', '0.199', '0.163', '0.044', '0.29', '0.125', '0.084', '0.069', '0.038', '0.48'),
  ( 8,   400,   500, '0.039', '0.066', '0.054', '0.062', '0.077', '0.221', '0.181', '0.048', '0.322', '0.137', '0.094', '0.077', '0.041', '0.54'),
  ( 9,   500,   630, '0.042', '0.072', '0.059', '0.068', '0.085', '0.245', '0.2', '0.053', '0.356', '0.15', '0.106', '0.087', '0.044', '0.6'),
  (10,   630,   800, '0.046', '0.079', '0.065', '0.074', '0.093', '0.272', '0.223', '0.058', '0.396', '0.165', '0.119', '0.098', '0.048', '0.72'),
  (11,   800,  1000, '0.051', '0.087', '0.071', '0.082', '0.102', '0.302', '0.247', '0.064', '0.44', '0.181', '0.133', '0.11', '0.052', '0.84'),
  (12,  1000,  1250, '0.056', '0.095', '0.078', '0.089', '0.111', '0.334', '0.273', '0.07', '0.486', '0.198', '0.149', '0.122', '0.056', '0.96'),
  (13,  1250,  1600, '0.061', '0.104', '0.086', '0.098', '0.122', '0.371', '0.304', '0.077', '0.54', '0.217', '0.168', '0.138', '0.061', '1.08'),
  (14,  1600,  2000, '0.067', '0.114', '0.094', '0.108', '0.135', '0.413', '0.338', '0.084', '0.6', '0.239', '0.188', '0.155', '0.066', '1.2'),
  (15,  2000,  2500, '0.074', '0.125', '0.103', '0.118', '0.147', '0.456', '0.373', '0.092', '0.664', '0.261', '0.211', '0.173', '0.072', '1.44'),
  (16,  2500, 99999, '0.084', '0.143', '0.118', '0.135', '0.169', '0.532', '0.436', '0.105', '0.775', '0.299', '0.25', '0.206', '0.081', '1.8');

-- ---------------------------------------------------------------------------
-- xiuyuan: entry relief amount (mm) of the worm tip by centre distance and
-- ratio band; the exit relief is 0.67 times the entry relief. A larger ratio
-- has more teeth in mesh and a smaller lead angle, so it needs less relief.
-- ---------------------------------------------------------------------------
CREATE TABLE xiuyuan (
  ID                        INTEGER PRIMARY KEY, -- 0: row number
  centre_distance_above_mm  REAL NOT NULL,       -- 1: previous row's bound (not read)
  centre_distance_upto_mm   REAL NOT NULL,       -- 2: largest centre distance of the row
  relief_ratio_below_25     REAL NOT NULL,       -- 3: ratio below 25
  relief_ratio_25_to_40     REAL NOT NULL,       -- 4: ratio 25 up to 40
  relief_ratio_40_to_63     REAL NOT NULL,       -- 5: ratio above 40 up to 63
  relief_ratio_above_63     REAL NOT NULL        -- 6: ratio above 63
);

INSERT INTO xiuyuan VALUES
  ( 1,    -1,    80, 0.20, 0.17, 0.14, 0.11),
  ( 2,    80,   100, 0.22, 0.19, 0.15, 0.12),
  ( 3,   100,   125, 0.25, 0.21, 0.18, 0.14),
  ( 4,   125,   160, 0.28, 0.24, 0.2,  0.15),
  ( 5,   160,   200, 0.32, 0.27, 0.22, 0.18),
  ( 6,   200,   250, 0.36, 0.31, 0.25, 0.2),
  ( 7,   250,   315, 0.4,  0.34, 0.28, 0.22),
  ( 8,   315,   400, 0.45, 0.38, 0.32, 0.25),
  ( 9,   400,   500, 0.5,  0.43, 0.35, 0.28),
  (10,   500,   630, 0.56, 0.48, 0.39, 0.31),
  (11,   630,   800, 0.63, 0.54, 0.44, 0.35),
  (12,   800,  1000, 0.7,  0.6,  0.49, 0.39),
  (13,  1000,  1250, 0.8,  0.68, 0.56, 0.44),
  (14,  1250,  1600, 0.9,  0.77, 0.63, 0.5),
  (15,  1600,  2000, 1,    0.85, 0.7,  0.55),
  (16,  2000,  2500, 1.12, 0.95, 0.78, 0.62),
  (17,  2500, 99999, 1.25, 1.06, 0.88, 0.69);

-- ---------------------------------------------------------------------------
-- xiuyuanchangdu: entry and exit relief lengths as an angle of the wheel, by
-- number of wheel teeth; about half a pitch angle (360° / teeth) at the entry
-- and 0.7 of that at the exit. Text, since they are joined to the amounts.
-- ---------------------------------------------------------------------------
CREATE TABLE xiuyuanchangdu (
  ID                  INTEGER PRIMARY KEY, -- 0: row number
  wheel_teeth_above   INTEGER NOT NULL,    -- 1: previous row's bound (not read)
  wheel_teeth_upto    INTEGER NOT NULL,    -- 2: largest number of wheel teeth of the row
  entry_relief_length TEXT NOT NULL,       -- 3: entry relief length
  exit_relief_length  TEXT NOT NULL        -- 4: exit relief length
);

INSERT INTO xiuyuanchangdu VALUES
  ( 1,   -1,  25, '7°',   '5°'),
  ( 2,   25,  30, '6°',   '4.5°'),
  ( 3,   30,  35, '5.5°', '4°'),
  ( 4,   35,  40, '5°',   '3.5°'),
  ( 5,   40,  45, '4.5°', '3°'),
  ( 6,   45,  50, '4°',   '3°'),
  ( 7,   50,  60, '3.5°', '2.5°'),
  ( 8,   60,  70, '3°',   '2°'),
  ( 9,   70,  80, '2.5°', '2°'),
  (10,   80, 100, '2°',   '1.5°'),
  (11,  100, 120, '1.8°', '1.2°'),
  (12,  120, 150, '1.5°', '1°'),
  (13,  150, 999, '1.2°', '0.8°');

-- ---------------------------------------------------------------------------
-- friction: the friction coefficient μ of the mesh against the sliding speed
-- vs, for the drive check ("传动校核"). Source: J. Carvill, Mechanical
-- Engineer's Data Handbook, Butterworth-Heinemann 1993, worm gears (friction
-- coefficient against rubbing speed). The check reads μ linearly between the
-- points of the chosen pair and takes the end value, with a warning, below
-- the first or above the last point.
--
-- A user may add a pair of his own: rows with a new key in column 1, its
-- name in column 2 and the points in ascending sliding speed. Keys are what
-- tpworm-cli rate --material takes.
-- ---------------------------------------------------------------------------
CREATE TABLE friction (
  ID                   INTEGER PRIMARY KEY, -- 0: row number
  material             TEXT NOT NULL,       -- 1: material-pair key
  material_name        TEXT NOT NULL,       -- 2: the pair as the window lists it
  sliding_speed_m_s    REAL NOT NULL,       -- 3: sliding speed vs, m/s
  friction_coefficient REAL NOT NULL        -- 4: μ at that speed
);

INSERT INTO friction VALUES
  ( 1, 'steel-bronze', '淬硬钢蜗杆 / 磷青铜蜗轮',  0.5, 0.06),
  ( 2, 'steel-bronze', '淬硬钢蜗杆 / 磷青铜蜗轮',  1,   0.05),
  ( 3, 'steel-bronze', '淬硬钢蜗杆 / 磷青铜蜗轮',  2,   0.035),
  ( 4, 'steel-bronze', '淬硬钢蜗杆 / 磷青铜蜗轮',  5,   0.023),
  ( 5, 'steel-bronze', '淬硬钢蜗杆 / 磷青铜蜗轮', 10,   0.017),
  ( 6, 'steel-bronze', '淬硬钢蜗杆 / 磷青铜蜗轮', 20,   0.014),
  ( 7, 'iron-iron',    '铸铁蜗杆 / 铸铁蜗轮',      0.5, 0.08),
  ( 8, 'iron-iron',    '铸铁蜗杆 / 铸铁蜗轮',      1,   0.067),
  ( 9, 'iron-iron',    '铸铁蜗杆 / 铸铁蜗轮',      2,   0.050),
  (10, 'iron-iron',    '铸铁蜗杆 / 铸铁蜗轮',      5,   0.037),
  (11, 'iron-iron',    '铸铁蜗杆 / 铸铁蜗轮',     10,   0.022),
  (12, 'iron-iron',    '铸铁蜗杆 / 铸铁蜗轮',     20,   0.018);

-- ---------------------------------------------------------------------------
-- rated_power: rated input power of a pair by centre distance, ratio and
-- worm speed, from the user's catalogue or standard. No public load-capacity
-- method for this drive type was found, so the program ships no values and
-- computes no strength of its own: while this table is empty the drive check
-- says that the strength rating is not computed. With rows, it reports the
-- service factor P_rated / P1 for the design's centre distance (rows with
-- exactly that centre distance), linear in worm speed and ratio between the
-- rows and refused outside them. Example row (not shipped):
--   INSERT INTO rated_power VALUES (1, 250, 22.5, 1500, 120);
-- ---------------------------------------------------------------------------
CREATE TABLE rated_power (
  ID                   INTEGER PRIMARY KEY, -- 0: row number
  centre_distance_mm   REAL NOT NULL,       -- 1: centre distance a, mm
  ratio                REAL NOT NULL,       -- 2: ratio i
  worm_speed_rpm       REAL NOT NULL,       -- 3: worm speed n1, r/min
  rated_input_power_kw REAL NOT NULL        -- 4: rated input power, kW
);

COMMIT;
