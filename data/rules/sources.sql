-- rules_sources: where each table of the rules database comes from. Read
-- after db1.sql into the same database; the program's look-ups never read
-- this table, only the settings dialog's tables page, tpworm-cli rules, the
-- notices of the main window and the About window do. A rule set is a whole
-- copy of the database, so it carries this table with the tables it names.
--
--   0 table_name        the table described
--   1 source            where its values come from, as the user reads it
--   2 changed           the date its values were last changed, YYYY-MM-DD
--   3 reference_values  1 while the table still holds the reference values
--                       shipped with the program; cleared when the user
--                       imports the table or saves it under a source of
--                       their own
--   4 key_unit          'mm' (centre distance) or 'teeth' (wheel teeth) for
--                       a range table, whose column 1 is the lower bound
--                       (excluded) and column 2 the upper bound (included);
--                       NULL for a table without ranges
--   5 covers_above      the range of the key that the source covers: above
--   6 covers_upto       this (excluded) up to this (included); NULL where
--                       the source sets no limit or none is known
--
-- The grade tables are laid out for accuracy grades of GB/T16445-1996, which
-- is stated to cover centre distances up to 1250 mm. That limit could not be
-- checked against the text of the standard (it was not at hand); it is the
-- figure the program's design brief gives. The main window warns above it.
-- The friction table takes its values from the handbook its row names (see
-- its comment in db1.sql); the rated-power table ships empty, for the user's
-- catalogue or standard. Neither is a range table. A row whose table does not
-- exist in the database is never shown.

CREATE TABLE rules_sources (
  table_name        TEXT PRIMARY KEY,
  source            TEXT NOT NULL,
  changed           TEXT NOT NULL,
  reference_values  INTEGER NOT NULL,
  key_unit          TEXT,
  covers_above      REAL,
  covers_upto       REAL
);

INSERT INTO rules_sources VALUES
  ('6ji', '参考值：本程序为试用而拟定的数值，不是 GB/T16445-1996 表中的数值。设计前请换用该标准或本厂标准的数值。', '2026-12-10', 1, 'mm', NULL, 1250),
  ('7ji', '参考值：本程序为试用而拟定的数值，不是 GB/T16445-1996 表中的数值。设计前请换用该标准或本厂标准的数值。', '2026-12-10', 1, 'mm', NULL, 1250),
  ('8ji', '参考值：本程序为试用而拟定的数值，不是 GB/T16445-1996 表中的数值。设计前请换用该标准或本厂标准的数值。', '2026-12-10', 1, 'mm', NULL, 1250),
  ('xiuyuan', '参考值：本程序为试用而拟定的入口修缘量。设计前请换用本厂标准或经验数据。', '2026-12-10', 1, 'mm', NULL, NULL),
  ('xiuyuanchangdu', '参考值：本程序为试用而拟定的修缘长度。设计前请换用本厂标准或经验数据。', '2026-12-10', 1, 'teeth', NULL, NULL),
  ('friction', 'J. Carvill, Mechanical Engineer''s Data Handbook, Butterworth-Heinemann 1993：蜗轮传动的摩擦系数与滑动速度（按材料组合）。', '2026-12-11', 0, NULL, NULL, NULL),
  ('rated_power', '随程序不提供数值：请按所用产品样本或标准填入额定输入功率。', '2026-12-11', 0, NULL, NULL, NULL);
